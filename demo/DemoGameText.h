#pragma once
// The text data files of the demo game directory, as a real install has them:
// comments, sections, CR LF line ends.

#include <string>

namespace vehmira::demo {

std::string DemoVehiclesIde();
std::string DemoHandlingCfg();
std::string DemoCarcolsDat();

} // namespace vehmira::demo

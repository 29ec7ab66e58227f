#pragma once
// `vehmira car info`: a package's header, lengths, texts and whether it is well-formed.

#include "package/CarValidation.h"

#include <ostream>
#include <string>

void PrintCarInfo(std::ostream& out, const std::string& file, const TCarInspection& info);
void PrintCarInfoJson(std::ostream& out, const std::string& file, const TCarInspection& info);

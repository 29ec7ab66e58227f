#pragma once
// `vehmira car info`: a package's header, lengths, texts and whether it is
// well-formed; with a preview, also its textures, model and texture check.

#include "operations/VehiclePreview.h"
#include "package/CarValidation.h"

#include <ostream>
#include <string>

namespace vehmira::cli {

void PrintCarInfo(std::ostream& out, const std::string& file, const package::TCarInspection& info,
                  const operations::TVehiclePreview* preview = nullptr);
void PrintCarInfoJson(std::ostream& out, const std::string& file, const package::TCarInspection& info,
                      const operations::TVehiclePreview* preview = nullptr);

} // namespace vehmira::cli

#pragma once
// `vehmira car info`: a package's header, lengths, texts and whether it is
// well-formed; with a preview, also its textures, model and texture check.

#include "operations/VehiclePreview.h"
#include "package/CarValidation.h"

#include <ostream>
#include <string>

void PrintCarInfo(std::ostream& out, const std::string& file, const TCarInspection& info,
                  const TVehiclePreview* preview = nullptr);
void PrintCarInfoJson(std::ostream& out, const std::string& file, const TCarInspection& info,
                      const TVehiclePreview* preview = nullptr);

#include "fileio/CheckFinding.h"

#include <array>

namespace vehmira::fileio {

std::string_view CheckCodeName(TCheckCode code)
{
    static constexpr std::array<std::string_view, 32> Names = {
        "unreadable_model", "unreadable_textures", "missing_frame",   "no_collision",      "bad_collision",
        "frame_name_too_long", "unsupported_version", "extra_without_atomic", "console_data", "ide_fields",
        "ide_type",         "handling_missing",    "handling_kind",   "handling_fields",   "model_kind",
        "missing_texture",  "no_damaged_parts",    "no_low_detail",   "missing_dummy",     "no_wheel_atomic",
        "wheel_size_zero",  "gxt_keys_unsorted", "ide_fields_game_line", "missing_model",     "missing_txd",
        "archive_shadowed", "paintjob_limit",      "carcols_unknown_model", "carcols_colour_range", "carcols_too_many",
        "carmods_unknown_model", "carmods_unknown_part"};
    static_assert(Names.size() == std::size_t(TCheckCode::CarmodsUnknownPart) + 1);
    return Names[std::size_t(code)];
}

} // namespace vehmira::fileio

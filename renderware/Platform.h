#pragma once
// Which machine a stream was made for, as far as its contents tell, and the
// way the game compares texture names.

#include <cstddef>
#include <string_view>

namespace vehmira::renderware {

enum class TPlatform {
    Unknown,  // nothing in the stream tells (an empty dictionary)
    PC,       // Direct3D 8 or 9 textures; models without pre-instanced geometry
    PS2,
    Xbox,
    Console,  // a model with pre-instanced geometry, made for a console
    Mixed,    // a dictionary holding textures of several platforms
    Other,
};

constexpr std::string_view PlatformName(TPlatform platform)
{
    switch (platform) {
    case TPlatform::PC: return "PC";
    case TPlatform::PS2: return "PS2";
    case TPlatform::Xbox: return "Xbox";
    case TPlatform::Console: return "console";
    case TPlatform::Mixed: return "mixed";
    case TPlatform::Other: return "other";
    case TPlatform::Unknown: break;
    }
    return "unknown";
}

// The game looks textures up by name ignoring the case of the ASCII letters.
constexpr bool SameTextureName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'a' && a[i] <= 'z' ? char(a[i] - 32) : a[i];
        const char y = b[i] >= 'a' && b[i] <= 'z' ? char(b[i] - 32) : b[i];
        if (x != y)
            return false;
    }
    return true;
}

} // namespace vehmira::renderware

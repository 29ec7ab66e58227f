#pragma once
// The RenderWare library version a stream was written with.
//
// Every chunk header carries a 32-bit "library ID stamp". The library version
// itself is written 0xVJNBB: V the RenderWare version (3), J the major and N
// the minor revision, BB the binary revision; 3.6.0.3 is 0x36003.
//
// Since 3.2 the stamp packs the version (less 0x30000) and a 16-bit build:
//   bits 31-30  V - 3        bits 29-26  J        bits 25-22  N
//   bits 21-16  binary revision                   bits 15-0   build number
// so 3.6.0.3 build 0xFFFF is 0x1803FFFF. Before that the stamp was the
// version shifted right by 8 with no build (3.1.0.0 is 0x00000310); a reader
// tells the two forms apart by whether the upper 16 bits are zero.

#include <cstdint>
#include <string>

namespace vehmira::renderware {

struct TLibraryVersion {
    std::uint32_t Version = 0;  // 0xVJNBB, e.g. 0x36003
    std::uint32_t Build = 0;    // 0 in the old form, which has none
    bool PackedForm = false;    // false: the pre-3.2 stamp

    // "3.6.0.3"
    std::string Text() const;
    bool operator==(const TLibraryVersion&) const = default;
};

TLibraryVersion DecodeLibraryStamp(std::uint32_t stamp);
std::uint32_t EncodeLibraryStamp(std::uint32_t version, std::uint32_t build);

// The game for PC is built on RenderWare 3.6.0.3 and writes its streams with
// that version. Its library reads streams from its base version 3.4 up to its
// own (3.4 is what the previous PC game of the series wrote); a stream written
// by a newer library, or by one older than 3.4, is refused, and the game then
// asks for the model again and again without showing it.
inline constexpr std::uint32_t OldestVersionPcGameReads = 0x34000;
inline constexpr std::uint32_t NewestVersionPcGameReads = 0x36003;
bool PcGameReadsVersion(const TLibraryVersion& version);

} // namespace vehmira::renderware

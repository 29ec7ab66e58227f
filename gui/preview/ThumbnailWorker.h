#pragma once
// Decodes a dictionary's textures into thumbnails on a thread of its own, one
// after another, so that the preview window opens at once and stays
// responsive while a large dictionary is decoded.

#include "renderware/RgbaImage.h"
#include "renderware/TextureDictionary.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vehmira::gui {

// A texture fitted into a square of that side on a checkerboard, opaque; a
// texture that cannot be decoded gives a crossed-out square.
renderware::TRgbaImage MakeThumbnail(const renderware::TTextureDictionary& dictionary, std::size_t index,
                                     std::uint32_t side);

class TThumbnailWorker {
public:
    // Announces each finished thumbnail by posting `message` to `window`, with
    // the texture's index as wParam. The dictionary must outlive the worker.
    TThumbnailWorker(const renderware::TTextureDictionary& dictionary, std::uint32_t side, HWND window, UINT message);
    // Stops after the texture being decoded and waits for the thread.
    ~TThumbnailWorker();
    TThumbnailWorker(const TThumbnailWorker&) = delete;
    TThumbnailWorker& operator=(const TThumbnailWorker&) = delete;

    // The finished thumbnail of that texture, handed over once.
    std::optional<renderware::TRgbaImage> Take(std::size_t index);

private:
    void Run(const renderware::TTextureDictionary& dictionary, std::uint32_t side, HWND window, UINT message);

    std::mutex Lock;
    std::vector<std::optional<renderware::TRgbaImage>> Finished;
    std::atomic<bool> Stopping{false};
    std::thread Thread; // last: started once everything it uses exists
};

} // namespace vehmira::gui

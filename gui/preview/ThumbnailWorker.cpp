#include "gui/preview/ThumbnailWorker.h"

#include "fileio/Errors.h"
#include "renderware/ContactSheet.h"

#include <span>
#include <utility>

namespace vehmira::gui {

renderware::TRgbaImage MakeThumbnail(const renderware::TTextureDictionary& dictionary, std::size_t index,
                                     std::uint32_t side)
{
    renderware::TRgbaImage texture;
    if (dictionary.Textures().at(index).Decodable()) {
        try {
            texture = dictionary.DecodeTexture(index);
        } catch (const fileio::TVehmiraError&) {
            // Left empty: crossed out below.
        }
    }
    const renderware::TContactSheetOptions oneCell{
        .ThumbnailSide = side, .Spacing = 0, .Columns = 1, .CheckerSquare = 8};
    return renderware::ComposeContactSheet(std::span(&texture, 1), oneCell);
}

TThumbnailWorker::TThumbnailWorker(const renderware::TTextureDictionary& dictionary, std::uint32_t side, HWND window,
                                   UINT message)
    : Finished(dictionary.Textures().size()),
      Thread([this, &dictionary, side, window, message] { Run(dictionary, side, window, message); })
{
}

TThumbnailWorker::~TThumbnailWorker()
{
    Stopping = true;
    Thread.join();
}

std::optional<renderware::TRgbaImage> TThumbnailWorker::Take(std::size_t index)
{
    const std::lock_guard<std::mutex> guard(Lock);
    if (index >= Finished.size())
        return std::nullopt;
    return std::exchange(Finished[index], std::nullopt);
}

void TThumbnailWorker::Run(const renderware::TTextureDictionary& dictionary, std::uint32_t side, HWND window,
                           UINT message)
{
    for (std::size_t index = 0; index < dictionary.Textures().size() && !Stopping; ++index) {
        renderware::TRgbaImage thumbnail;
        try {
            thumbnail = MakeThumbnail(dictionary, index, side);
        } catch (const std::exception&) {
            continue; // out of memory: the cell keeps its placeholder
        }
        {
            const std::lock_guard<std::mutex> guard(Lock);
            Finished[index] = std::move(thumbnail);
        }
        PostMessageW(window, message, index, 0);
    }
}

} // namespace vehmira::gui

// The main window's archive commands: the check of the layout the game's
// streamer relies on, and the rebuild that restores it.

#include "gui/windows/FormMain.h"

#include "fileio/Errors.h"
#include "fileio/GamePaths.h"
#include "gui/framework/ErrorBox.h"
#include "gui/framework/FormProgress.h"
#include "gui/framework/WideText.h"
#include "gui/common/InterfaceTexts.h"
#include "gui/common/Language.h"
#include "operations/ArchiveOperations.h"

#include <algorithm>

namespace vehmira::gui {

namespace {
// The rebuild's reports go to the progress window, whose cancel button stops it.
class TProgressWindowObserver : public operations::TOperationObserver {
public:
    explicit TProgressWindowObserver(fileio::TProgressSink& sink) : Sink(sink) {}
    void InterruptedImportsRestored(const std::vector<std::string>&) override {}
    bool Progress(std::uint64_t done, std::uint64_t total) override
    {
        Sink.Progress(done, total);
        return Sink.CancelRequested();
    }

private:
    fileio::TProgressSink& Sink;
};
} // namespace

void TFormMain::CheckArchiveMenuClick()
{
    if (!Session)
        throw fileio::TVehmiraError(InterfaceTextUtf8(TTextKey::NoGameOpen));
    const archive::TArchiveLayout layout = operations::CheckArchive(*Session);
    const std::wstring text = framework::Wide(ArchiveCheckText(layout));
    if (!operations::FreeSpaceWorthReclaiming(layout)) {
        framework::ShowPlainMessage(Handle(), text);
        return;
    }
    const std::wstring percent = std::to_wstring(layout.FreeBytes * 100 / std::max<std::uint64_t>(layout.FileSize, 1));
    const std::wstring question = text + L"\r\n\r\n" + InterfaceText(TTextKey::FreeSpaceRebuildQuestion, {percent});
    if (MessageBoxW(Handle(), question.c_str(), framework::ApplicationTitle, MB_YESNO | MB_ICONQUESTION) == IDYES)
        RebuildArchiveWithProgress();
}

void TFormMain::RebuildArchiveMenuClick()
{
    if (!Session)
        throw fileio::TVehmiraError(InterfaceTextUtf8(TTextKey::NoGameOpen));
    const std::wstring& question = InterfaceText(TTextKey::RebuildQuestion);
    if (MessageBoxW(Handle(), question.c_str(), framework::ApplicationTitle, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    RebuildArchiveWithProgress();
}

void TFormMain::OfferRebuildOfMisreadArchive()
{
    const archive::TArchiveLayout layout = operations::CheckArchive(*Session);
    if (layout.ReadsCorrectly() || !layout.CanRebuild())
        return;
    const std::filesystem::path archive =
        fileio::ResolveGamePath(Session->Location().GameDirectory, fileio::GameFiles::ModelArchive);
    if (std::find(MisreadArchivesTold.begin(), MisreadArchivesTold.end(), archive) != MisreadArchivesTold.end())
        return;
    MisreadArchivesTold.push_back(archive);
    const std::wstring question = framework::Wide(MisreadArchiveQuestion(layout));
    if (MessageBoxW(Handle(), question.c_str(), framework::ApplicationTitle, MB_YESNO | MB_ICONWARNING) == IDYES)
        RebuildArchiveWithProgress();
}

void TFormMain::RebuildArchiveWithProgress()
{
    framework::TFormProgress progress(Handle(), InterfaceText(TTextKey::RebuildProgress),
                                      InterfaceText(TTextKey::CancelButton));
    bool rebuilt = false;
    try {
        progress.Run([this, &rebuilt](fileio::TProgressSink& sink) {
            TProgressWindowObserver observer(sink);
            rebuilt = operations::RebuildArchive(*Session, observer).Rebuilt;
        });
    } catch (const fileio::TOperationCancelled&) {
        framework::ShowPlainMessage(Handle(), InterfaceText(TTextKey::RebuildCancelled));
        return;
    }
    // A sound archive is left as it is, and the user is told so, not that it was rebuilt.
    framework::ShowPlainMessage(Handle(), InterfaceText(rebuilt ? TTextKey::RebuildDone : TTextKey::RebuildNotNeeded));
}

} // namespace vehmira::gui

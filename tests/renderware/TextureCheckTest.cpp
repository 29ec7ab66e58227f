#include "renderware/TextureCheck.h"

#include "renderware/LibraryVersion.h"
#include "support/RwStreamBuilder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace vehmira;
using namespace vehmira::fileio;
using namespace vehmira::renderware;

using namespace RwTest;

namespace {

using TNames = std::vector<std::string>;

renderware::TModelSummary ModelUsing(const TNames& textures, bool native = false, std::uint32_t stamp = Stamp3603)
{
    TTestModel model;
    model.Geometries[0].TextureNames = textures;
    model.Geometries[0].Native = native;
    model.Stamp = stamp;
    return renderware::ReadModelSummary(Model(model));
}

renderware::TTextureDictionary DictionaryOf(const TNames& names, std::uint32_t platform = 9,
                                            std::uint32_t stamp = Stamp3603, std::optional<std::uint16_t> declared = {})
{
    std::vector<ByteBuffer> natives;
    for (const std::string& name : names) {
        TTestTexture texture;
        texture.Name = name;
        texture.PlatformId = platform;
        if (platform == 8) {  // alpha in the fourth field, no compression
            texture.D3DFormatOrAlpha = 1;
            texture.Flags = 0;
        }
        natives.push_back(TextureNative(texture));
    }
    return renderware::TTextureDictionary::FromBytes(TextureDictionary(natives, declared, stamp));
}

TEST(TextureCheck, OwnAndSharedDictionaries)
{
    struct TCase {
        std::string What;
        TNames ModelTextures;
        TNames Own;
        std::optional<TNames> Shared;
        TNames NotInOwn;
        TNames Missing;
        TNames ExpectedFromShared;
    };
    const std::vector<TCase> cases{
        {"all in own, any case", {"body", "Glass"}, {"BODY", "glass"}, std::nullopt, {}, {}, {}},
        {"shared supplies the rest", {"body", "Wheel", "grille"}, {"body"}, TNames{"wheel", "grille", "light"},
         {"Wheel", "grille"}, {}, {}},
        {"one in neither", {"body", "Wheel", "grille"}, {"body"}, TNames{"WHEEL"}, {"Wheel", "grille"}, {"grille"}, {}},
        {"no shared given", {"body", "wheel"}, {"body"}, std::nullopt, {"wheel"}, {}, {"wheel"}},
        {"empty own", {"body"}, {}, TNames{}, {"body"}, {"body"}, {}},
        {"a longer name is another name", {"body"}, {"body2", "bod"}, TNames{"body "}, {"body"}, {"body"}, {}},
    };
    for (const TCase& test : cases) {
        const renderware::TModelSummary model = ModelUsing(test.ModelTextures);
        const renderware::TTextureDictionary own = DictionaryOf(test.Own);
        const std::optional<renderware::TTextureDictionary> shared =
            test.Shared ? std::optional(DictionaryOf(*test.Shared)) : std::nullopt;
        const renderware::TTextureCheck check = renderware::CheckModelTextures(model, own, shared ? &*shared : nullptr);
        EXPECT_EQ(check.NotInOwnDictionary, test.NotInOwn) << test.What;
        EXPECT_EQ(check.Missing, test.Missing) << test.What;
        EXPECT_EQ(check.ExpectedFromShared, test.ExpectedFromShared) << test.What;
        EXPECT_EQ(check.SharedDictionaryChecked, test.Shared.has_value()) << test.What;
        EXPECT_EQ(check.AllFound(), test.Missing.empty() && test.ExpectedFromShared.empty()) << test.What;
        EXPECT_TRUE(check.Warnings.empty()) << test.What << ": " << check.Warnings.front().Text;
    }
}

// A texture past the dictionary's declared count is never loaded by the game.
TEST(TextureCheck, TexturesTheGameIgnoresDoNotCount)
{
    const renderware::TTextureCheck check =
        renderware::CheckModelTextures(ModelUsing({"body", "wheel"}), DictionaryOf({"body", "wheel"}, 9, Stamp3603, 1));
    EXPECT_EQ(check.NotInOwnDictionary, TNames{"wheel"});
}

TEST(TextureCheck, Warnings)
{
    struct TCase {
        std::string What;
        renderware::TModelSummary Model;
        renderware::TTextureDictionary Own;
        std::optional<renderware::TTextureDictionary> Shared;
        std::vector<std::pair<renderware::TCheckWarningKind, std::string>> Expected; // kind, text
    };
    const std::uint32_t stamp3700 = renderware::EncodeLibraryStamp(0x37000, 0xFFFF);
    std::vector<TCase> cases;
    cases.push_back(
        {"PS2 dictionary for a PC model",
         ModelUsing({"body"}),
         DictionaryOf({"body"}, 0x00325350),
         {},
         {{renderware::TCheckWarningKind::PlatformMismatch, "the model is made for PC, the dictionary for PS2"}}});
    cases.push_back(
        {"console model",
         ModelUsing({"body"}, true),
         DictionaryOf({"body"}),
         {},
         {{renderware::TCheckWarningKind::PlatformMismatch, "the model is made for console, the dictionary for PC"}}});
    cases.push_back({"Xbox shared dictionary",
                     ModelUsing({"body"}),
                     DictionaryOf({"body"}),
                     DictionaryOf({"x"}, 5),
                     {{renderware::TCheckWarningKind::PlatformMismatch, "the shared dictionary for Xbox"}}});
    cases.push_back({"newer model",
                     ModelUsing({"body"}, false, stamp3700),
                     DictionaryOf({"body"}),
                     {},
                     {{renderware::TCheckWarningKind::UnreadableVersion,
                       "the model was written by RenderWare 3.7.0.0; the PC game reads 3.4.0.0 to 3.6.0.3"}}});
    cases.push_back(
        {"older dictionary",
         ModelUsing({"body"}),
         DictionaryOf({"body"}, 9, 0x0302),
         {},
         {{renderware::TCheckWarningKind::UnreadableVersion, "the dictionary was written by RenderWare 3.0.2.0"}}});
    cases.push_back({"oldest readable", ModelUsing({"body"}, false, 0x10000000), DictionaryOf({"body"}, 8, 0x10000000),
                     {}, {}});
    cases.push_back({"older than the library's base version", ModelUsing({"body"}, false, Stamp3302),
                     DictionaryOf({"body"}), {}, {{renderware::TCheckWarningKind::UnreadableVersion,
                       "the model was written by RenderWare 3.3.0.2"}}});
    cases.push_back({"used texture unreadable",
                     ModelUsing({"body", "wheel"}),
                     DictionaryOf({"body"}),
                     DictionaryOf({"wheel"}, 0x99),
                     {{renderware::TCheckWarningKind::UndecodableTexture,
                       "texture \"wheel\" in the shared dictionary cannot be read"},
                      {renderware::TCheckWarningKind::PlatformMismatch, "the shared dictionary for other"}}});
    for (const TCase& test : cases) {
        const renderware::TTextureCheck check =
            renderware::CheckModelTextures(test.Model, test.Own, test.Shared ? &*test.Shared : nullptr);
        ASSERT_EQ(check.Warnings.size(), test.Expected.size()) << test.What;
        for (std::size_t i = 0; i < test.Expected.size(); ++i) {
            EXPECT_EQ(check.Warnings[i].Kind, test.Expected[i].first) << test.What;
            EXPECT_NE(check.Warnings[i].Text.find(test.Expected[i].second), std::string::npos)
                << test.What << ": " << check.Warnings[i].Text;
        }
    }
}

} // namespace

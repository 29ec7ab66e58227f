// The model check, one fault per case on models built here: each names the
// codes the game's loader would meet, and a sound model of the target's kind
// gives none.

#include "renderware/VehicleModelCheck.h"

#include "support/RwStreamBuilder.h"

#include <gtest/gtest.h>

using namespace vehmira;
using namespace vehmira::fileio;
using namespace vehmira::renderware;
using namespace RwTest;

namespace {

using TCodes = std::vector<std::string>;

// The frames of a sound car: wheels, light and seat dummies, damaged and
// low-detail bodies, a wheel atomic under the front right wheel dummy.
TTestModel SoundCar()
{
    TTestModel model;
    model.Frames = {{"car", -1},          {"chassis_dummy", 0},  {"chassis", 1},       {"chassis_vlo", 1},
                    {"wheel_rf_dummy", 0}, {"wheel", 4},          {"wheel_rb_dummy", 0}, {"wheel_lf_dummy", 0},
                    {"wheel_lb_dummy", 0}, {"headlights", 0},     {"taillights", 0},    {"ped_frontseat", 0},
                    {"bonnet_dummy", 0},   {"bonnet_ok", 12},     {"bonnet_dam", 12}};
    model.Geometries = {TTestGeometry{}, TTestGeometry{}, TTestGeometry{}};
    model.Atomics = {{2, 0}, {3, 0}, {5, 1}, {13, 2}, {14, 2}};
    model.Collision = Collision();
    return model;
}

TTestModel SoundBike()
{
    TTestModel model;
    model.Frames = {{"bike", -1},        {"chassis", 0},    {"chassis_vlo", 0}, {"wheel_front", 0},
                    {"wheel_rear", 0},   {"headlights", 0}, {"taillights", 0},  {"ped_frontseat", 0}};
    model.Atomics = {{1, 0}, {2, 0}, {3, 0}, {4, 0}};
    model.Collision = Collision();
    return model;
}

TCodes Codes(const TCheckFindings& findings)
{
    TCodes codes;
    // An unreadable stream's subject is the reader's account, not a name.
    for (const TCheckFinding& finding : findings) {
        const bool named = !finding.Facts.Subject.empty() && finding.Code != TCheckCode::UnreadableModel;
        codes.push_back(std::string(CheckCodeName(finding.Code)) + (named ? " " + finding.Facts.Subject : ""));
    }
    return codes;
}

ByteBuffer DictionaryWith(std::string_view textureName, std::uint32_t stamp = Stamp3603)
{
    TTestTexture texture;
    texture.Name = textureName;
    return TextureDictionary({TextureNative(texture)}, {}, stamp);
}

TCodes CheckModel(const TTestModel& model, std::string_view type, std::int32_t id = 400)
{
    const ByteBuffer bytes = Model(model);
    return Codes(CheckVehicleModel({.Model = bytes, .Textures = {}, .Shared = nullptr, .VehicleType = type, .ModelID = id}));
}

template <typename TEdit> TTestModel Edited(TTestModel model, TEdit edit)
{
    edit(model);
    return model;
}

// The model with a new root frame put first: the game hangs the clump on it,
// and every old frame now stands under a second root.
TTestModel UnderANewFirstRoot(TTestModel model)
{
    for (TTestFrame& frame : model.Frames)
        frame.Parent = frame.Parent < 0 ? -1 : frame.Parent + 1;
    model.Frames.insert(model.Frames.begin(), {"car2", -1});
    for (auto& atomic : model.Atomics)
        ++atomic.first;
    return model;
}

} // namespace

TEST(VehicleModelCheck, SoundModelsOfTheirOwnKindPass)
{
    EXPECT_EQ(CheckModel(SoundCar(), "car"), TCodes{});
    EXPECT_EQ(CheckModel(SoundCar(), "mtruck"), TCodes{});
    EXPECT_EQ(CheckModel(SoundBike(), "bike"), TCodes{});
    // A boat needs no wheels, only its seat.
    EXPECT_EQ(CheckModel(Edited(SoundBike(), [](TTestModel& m) { m.Frames[3].Name = "moving_prop"; m.Frames[4].Name = "rudder"; }), "boat"),
              TCodes{});
}

TEST(VehicleModelCheck, EachFaultHasItsCode)
{
    ByteBuffer belowHeader = Collision();
    SetU32(belowHeader, 4, 20);
    const struct {
        const char* what;
        TTestModel model;
        std::string type;
        std::int32_t id;
        TCodes codes;
    } cases[] = {
        {"collision removed", Edited(SoundCar(), [](TTestModel& m) { m.Collision.reset(); }), "car", 400,
         {"no_collision"}},
        {"collision of an unknown version", Edited(SoundCar(), [](TTestModel& m) { m.Collision = Collision("COL4"); }),
         "car", 400, {"bad_collision tag"}},
        {"collision header only", Edited(SoundCar(), [](TTestModel& m) { m.Collision = Collision("COL3", 0, 0, 0); }),
         "car", 400, {"bad_collision header_only"}},
        {"collision size below its header", Edited(SoundCar(), [&](TTestModel& m) { m.Collision = belowHeader; }),
         "car", 400, {"bad_collision size_below_header"}},
        {"collision over 16 KiB", Edited(SoundCar(), [](TTestModel& m) { m.Collision = Collision("COL3", 0, 0, 2100); }),
         "car", 400, {"bad_collision too_large"}},
        {"collision cut off", Edited(SoundCar(), [](TTestModel& m) { m.Collision->resize(40); }), "car", 400,
         {"bad_collision cut_off"}},
        {"old collision format is read", Edited(SoundCar(), [](TTestModel& m) { m.Collision = Collision("COLL"); }),
         "car", 400, {}},
        {"wheel dummy misspelt", Edited(SoundCar(), [](TTestModel& m) { m.Frames[4].Name = "wheel_rf_dumy"; }), "car",
         400, {"missing_frame wheel_rf_dummy"}},
        {"names match ignoring case", Edited(SoundCar(), [](TTestModel& m) { m.Frames[6].Name = "Wheel_RB_Dummy"; }),
         "car", 400, {}},
        {"the root frame is not searched", Edited(SoundCar(), [](TTestModel& m) { m.Frames[0].Name = "wheel_front"; }),
         "car", 400, {}},
        {"frame name of 26 letters",
         Edited(SoundCar(), [](TTestModel& m) { m.Frames[12].Name = "abcdefghijklmnopqrstuvwxyz"; }), "car", 400,
         {"frame_name_too_long abcdefghijklmnopqrstuvwxyz"}},
        {"frame name of 23 letters", Edited(SoundCar(), [](TTestModel& m) { m.Frames[12].Name = "abcdefghijklmnopqrstuvw"; }),
         "car", 400, {}},
        {"older RenderWare", Edited(SoundCar(), [](TTestModel& m) { m.Stamp = Stamp3302; }), "car", 400,
         {"unsupported_version model"}},
        {"newer RenderWare", Edited(SoundCar(), [](TTestModel& m) { m.Stamp = 0x1C020065; }), "car", 400,
         {"unsupported_version model"}},
        {"car over a bike", SoundCar(), "bike", 522, {"missing_frame wheel_front", "missing_frame wheel_rear", "model_kind car"}},
        {"bike over a car", SoundBike(), "car", 400,
         {"missing_frame wheel_rf_dummy", "missing_frame wheel_rb_dummy", "missing_frame wheel_lf_dummy",
          "missing_frame wheel_lb_dummy", "model_kind bike", "no_damaged_parts"}},
        {"bike over a heli", SoundBike(), "heli", 487,
         {"missing_frame wheel_rf_dummy", "missing_frame wheel_rb_dummy", "missing_frame wheel_lf_dummy",
          "missing_frame wheel_lb_dummy", "model_kind bike"}},
        {"car over a boat", SoundCar(), "boat", 472, {"model_kind car"}},
        {"no type known: the model alone", SoundCar(), "", 400, {}},
        {"six wheels for model 432", SoundCar(), "car", 432, {"missing_frame wheel_lm_dummy", "missing_frame wheel_rm_dummy"}},
        {"extra without its atomic",
         Edited(SoundCar(), [](TTestModel& m) { m.Frames.push_back({"extra1", 1}); }), "car", 400,
         {"extra_without_atomic extra1"}},
        {"extra with its atomic", Edited(SoundCar(), [](TTestModel& m) {
             m.Frames.push_back({"extra1", 1});
             m.Atomics.push_back({15, 0});
         }), "car", 400, {}},
        {"console geometry", Edited(SoundCar(), [](TTestModel& m) { m.Geometries[1].Native = true; }), "car", 400,
         {"console_data"}},
        {"atomic on a frame that does not exist", Edited(SoundCar(), [](TTestModel& m) { m.Atomics.push_back({99, 0}); }),
         "car", 400, {"unreadable_model"}},
        {"no damaged parts", Edited(SoundCar(), [](TTestModel& m) { m.Frames[14].Name = "bonnet_x"; }), "car", 400,
         {"no_damaged_parts"}},
        {"no low-detail part", Edited(SoundCar(), [](TTestModel& m) { m.Frames[3].Name = "chassis_hi"; }), "car", 400,
         {"no_low_detail"}},
        {"no light or seat dummies", Edited(SoundCar(), [](TTestModel& m) {
             m.Frames[9].Name = "a";
             m.Frames[11].Name = "b";
         }), "car", 400, {"missing_dummy headlights", "missing_dummy ped_frontseat"}},
        {"no wheel under the main wheel dummy", Edited(SoundCar(), [](TTestModel& m) { m.Atomics[2].first = 1; }),
         "car", 400, {"no_wheel_atomic wheel_rf_dummy"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckModel(c.model, c.type, c.id), c.codes) << c.what;
    }
}

TEST(VehicleModelCheck, FramesCountOnlyBelowTheClumpsFrame)
{
    // SoundCar's frames: 4, 6, 7 and 8 are the wheel dummies, 9 to 11 the
    // light and seat dummies; 15 is the first frame a case adds.
    const auto underSecondRoot = [](std::initializer_list<std::size_t> moved) {
        return Edited(SoundCar(), [&](TTestModel& m) {
            m.Frames.push_back({"car_copy", -1});
            for (const std::size_t frame : moved)
                m.Frames[frame].Parent = 15;
        });
    };
    const struct {
        const char* what;
        TTestModel model;
        TCodes codes;
    } cases[] = {
        {"the four wheel dummies under a second root", underSecondRoot({4, 6, 7, 8}),
         {"missing_frame wheel_rf_dummy", "missing_frame wheel_rb_dummy", "missing_frame wheel_lf_dummy",
          "missing_frame wheel_lb_dummy"}},
        {"a wheel dummy two levels below a second root", Edited(underSecondRoot({}), [](TTestModel& m) {
             m.Frames.push_back({"axle", 15});
             m.Frames[8].Parent = 16;
         }), {"missing_frame wheel_lb_dummy"}},
        {"a wheel dummy deep below the clump's frame", Edited(SoundCar(), [](TTestModel& m) { m.Frames[8].Parent = 13; }),
         {}},
        {"a second root of a dummy's name is no dummy", Edited(underSecondRoot({9}), [](TTestModel& m) {
             m.Frames[15].Name = "headlights";
         }), {"missing_dummy headlights"}},
        {"the first frame is the clump's, whichever roots follow", UnderANewFirstRoot(SoundCar()),
         {"missing_frame wheel_rf_dummy", "missing_frame wheel_rb_dummy", "missing_frame wheel_lf_dummy",
          "missing_frame wheel_lb_dummy", "missing_dummy headlights", "missing_dummy taillights",
          "missing_dummy ped_frontseat"}},
        {"an extra the game never reaches is never picked", Edited(underSecondRoot({}), [](TTestModel& m) {
             m.Frames.push_back({"extra1", 15});
         }), {}},
        {"the wheel atomic may hang anywhere below the main wheel dummy", Edited(SoundCar(), [](TTestModel& m) {
             m.Frames.push_back({"hub", 4});
             m.Frames.push_back({"tyre", 15});
             m.Atomics[2].first = 16;
         }), {}},
        {"long names count wherever the frame stands", Edited(underSecondRoot({}), [](TTestModel& m) {
             m.Frames[15].Name = "abcdefghijklmnopqrstuvwxyz";
         }), {"frame_name_too_long abcdefghijklmnopqrstuvwxyz"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckModel(c.model, "car"), c.codes) << c.what;
}

TEST(VehicleModelCheck, ErrorsAreTheCodesThatStopTheGame)
{
    for (const TCheckCode code : {TCheckCode::MissingFrame, TCheckCode::NoCollision, TCheckCode::BadCollision,
                                  TCheckCode::FrameNameTooLong, TCheckCode::UnsupportedVersion, TCheckCode::IdeFields,
                                  TCheckCode::IdeType, TCheckCode::HandlingMissing, TCheckCode::HandlingKind,
                                  TCheckCode::HandlingFields})
        EXPECT_TRUE(IsCheckError(code)) << CheckCodeName(code);
    for (const TCheckCode code : {TCheckCode::ModelKind, TCheckCode::MissingTexture, TCheckCode::NoDamagedParts,
                                  TCheckCode::NoLowDetailPart, TCheckCode::MissingDummy, TCheckCode::WheelSizeZero})
        EXPECT_FALSE(IsCheckError(code)) << CheckCodeName(code);
}

TEST(VehicleModelCheck, AClumpStatingItsHeaderTooIsChecked)
{
    ByteBuffer model = Model(SoundCar());
    const std::uint32_t stated = LoadU32LE(std::span(model).subspan<4, 4>());
    SetU32(model, 4, stated + 12);
    EXPECT_EQ(Codes(CheckVehicleModel({.Model = model, .Textures = {}, .Shared = nullptr, .VehicleType = "car", .ModelID = 400})),
              TCodes{});
}

TEST(VehicleModelCheck, AUVAnimationDictionaryBeforeTheClumpIsPassedOver)
{
    ByteBuffer model = Chunk(0x2B, ByteBuffer(20, 7));
    AppendBytes(model, Model(SoundCar()));
    EXPECT_EQ(Codes(CheckVehicleModel({.Model = model, .Textures = {}, .Shared = nullptr, .VehicleType = "car", .ModelID = 400})),
              TCodes{});
    ByteBuffer bare = Chunk(0x2B, ByteBuffer(20, 7));
    AppendBytes(bare, Model(Edited(SoundCar(), [](TTestModel& m) { m.Collision.reset(); })));
    EXPECT_EQ(Codes(CheckVehicleModel({.Model = bare, .Textures = {}, .Shared = nullptr, .VehicleType = "car", .ModelID = 400})),
              TCodes{"no_collision"});
}

TEST(VehicleModelCheck, TexturesTheGameFindsNowhereAndDictionaryVersions)
{
    const ByteBuffer model = Model(SoundCar()); // its materials use "body"
    const TTextureDictionary shared = TTextureDictionary::FromBytes(DictionaryWith("vehiclegrunge256"));
    const ByteBuffer own = DictionaryWith("body");
    const ByteBuffer other = DictionaryWith("paint");
    const ByteBuffer old = DictionaryWith("body", Stamp3302);
    const ByteBuffer damaged = {0x16, 0, 0, 0, 200, 0, 0, 0};
    const struct {
        const char* what;
        ByteBuffer textures;
        const TTextureDictionary* shared;
        TCodes codes;
    } cases[] = {
        {"found in its own dictionary", own, &shared, {}},
        {"found nowhere", other, &shared, {"missing_texture body"}},
        {"not looked for without the shared dictionary", other, nullptr, {}},
        {"older dictionary", old, &shared, {"unsupported_version texture dictionary"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Codes(CheckVehicleModel({.Model = model, .Textures = c.textures, .Shared = c.shared, .VehicleType = "car", .ModelID = 400})), c.codes) << c.what;
    const TCheckFindings unreadable =
        CheckVehicleModel({.Model = model, .Textures = damaged, .Shared = &shared, .VehicleType = "car", .ModelID = 400});
    ASSERT_EQ(unreadable.size(), 1u);
    EXPECT_EQ(unreadable[0].Code, TCheckCode::UnreadableTextures);
}

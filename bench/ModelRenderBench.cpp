// Drawing a vehicle model the size of a real one: a body of about 12,000
// textured triangles painted in the primary key colour, a 1,000-triangle
// cabin, and one wheel copied to four dummies, with a texture dictionary of
// three 512 x 512 textures. The whole `vehmira car render` process at
// 1024 x 1024 (target: under 0.5 s), and the drawing alone per view.

#include "BenchSupport.h"

#include "support/ClumpBuilder.h"
#include "support/RwStreamBuilder.h"

#include "fileio/FileSystem.h"
#include "render/ModelRenderer.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

using namespace vehmira;
using namespace vehmira::fileio;

namespace {

// An ellipsoid of the given radii about `centre`, stacks x slices quads.
void AddEllipsoid(RwTest::TClumpGeometry& geometry, RwTest::TVec centre, RwTest::TVec radii, int stacks, int slices,
                  std::uint16_t material)
{
    const auto base = std::uint32_t(geometry.Positions.size());
    for (int i = 0; i <= stacks; ++i)
        for (int j = 0; j <= slices; ++j) {
            const double theta = std::numbers::pi * i / stacks, phi = 2 * std::numbers::pi * j / slices;
            const RwTest::TVec n{float(std::sin(theta) * std::cos(phi)), float(std::sin(theta) * std::sin(phi)),
                                 float(std::cos(theta))};
            geometry.Positions.push_back({centre[0] + radii[0] * n[0], centre[1] + radii[1] * n[1], centre[2] + radii[2] * n[2]});
            geometry.Normals.push_back(n);
            geometry.TexCoords.push_back({float(j) / slices * 4, float(i) / stacks * 2});
        }
    for (int i = 0; i < stacks; ++i)
        for (int j = 0; j < slices; ++j) {
            const auto a = std::uint16_t(base + i * (slices + 1) + j), b = std::uint16_t(a + 1);
            const auto c = std::uint16_t(a + slices + 1), d = std::uint16_t(c + 1);
            geometry.Triangles.push_back({a, c, b, material});
            geometry.Triangles.push_back({b, c, d, material});
        }
}

std::vector<std::array<std::uint8_t, 4>> Pattern(std::uint8_t tint)
{
    std::vector<std::array<std::uint8_t, 4>> pixels(512 * 512);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint8_t v = std::uint8_t((i % 512) ^ (i / 512));
        pixels[i] = {v, std::uint8_t(v / 2 + tint), tint, 255};
    }
    return pixels;
}

struct TVehicleFiles {
    ByteBuffer Model, Dictionary;
};

TVehicleFiles RealSizedVehicle()
{
    RwTest::TClump clump;
    clump.Frames = {{"car"}, {"chassis", 0}, {"wheel_rf_dummy", 0}, {"wheel", 2}, {"wheel_lf_dummy", 0},
                    {"wheel_rb_dummy", 0}, {"wheel_lb_dummy", 0}};
    const float x = 0.85f, y = 1.35f, z = -0.3f;
    clump.Frames[2].Position = {x, y, z};
    clump.Frames[4].Position = {-x, y, z};
    clump.Frames[5].Position = {x, -y, z};
    clump.Frames[6].Position = {-x, -y, z};
    RwTest::TClumpGeometry body;
    body.Materials = {{{60, 255, 0, 255}, "body"}, {{255, 255, 255, 255}, "interior"}};
    AddEllipsoid(body, {0, 0, 0}, {0.95f, 2.3f, 0.6f}, 60, 100, 0);
    AddEllipsoid(body, {0, -0.2f, 0.45f}, {0.75f, 1.1f, 0.45f}, 20, 25, 1);
    RwTest::TClumpGeometry wheel;
    wheel.Materials = {{{255, 255, 255, 255}, "wheel"}};
    AddEllipsoid(wheel, {0.1f, 0, 0}, {0.12f, 0.35f, 0.35f}, 12, 24, 0);
    clump.Geometries = {body, wheel};
    clump.Atomics = {{1, 0}, {3, 1}};
    TVehicleFiles files;
    files.Model = RwTest::Clump(clump);
    files.Dictionary = RwTest::TextureDictionary({RwTest::RgbaTextureNative("body", 512, 512, Pattern(40)),
                                                  RwTest::RgbaTextureNative("interior", 512, 512, Pattern(90)),
                                                  RwTest::RgbaTextureNative("wheel", 512, 512, Pattern(10))});
    return files;
}

void WholeProcess(benchmark::State& state)
{
    const TBenchDirectory directory("render");
    const TVehicleFiles files = RealSizedVehicle();
    ReplaceFileAtomically(directory.File("car.dff"), files.Model);
    ReplaceFileAtomically(directory.File("car.txd"), files.Dictionary);
    const std::string command = std::string(VEHMIRA_CLI) + " car render --dff " + directory.File("car.dff").string() +
                                " --txd " + directory.File("car.txd").string() + " --size 1024 -o " +
                                directory.File("car.png").string() + " > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("vehmira car render failed");
    state.counters["triangles"] = double(render::ReadClumpModel(files.Model).Geometries[0].Triangles.size() +
                                         4 * render::ReadClumpModel(files.Model).Geometries[1].Triangles.size());
}
BENCHMARK(WholeProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void DrawingAlone(benchmark::State& state)
{
    const TVehicleFiles files = RealSizedVehicle();
    const auto dictionary = renderware::TTextureDictionary::FromBytes(files.Dictionary);
    const render::TClumpModel model = render::ReadClumpModel(files.Model);
    render::TRenderOptions options;
    options.View.View = render::TView(state.range(0));
    options.View.Size = 1024;
    for (auto _ : state) {
        render::TTextureSet textures({&dictionary});
        benchmark::DoNotOptimize(render::RenderVehicle(model, textures, options).Image.Pixels.data());
    }
}
BENCHMARK(DrawingAlone)->Arg(int(render::TView::Perspective))->Arg(int(render::TView::Side))->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksAndReportMemory(argc, argv, "a 1024 x 1024 picture is 4 MiB, the dictionary 3 MiB");
}

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

#include <cstdlib>

using namespace vehmira;
using namespace vehmira::fileio;

namespace {

void WholeProcess(benchmark::State& state)
{
    const TBenchDirectory directory("render");
    const RwTest::TVehicleStreams files = RwTest::CarLikeVehicle();
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
    const RwTest::TVehicleStreams files = RwTest::CarLikeVehicle();
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

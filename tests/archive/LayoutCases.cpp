#include "archive/LayoutCases.h"

const std::vector<TLayoutCase>& LayoutCases()
{
    static const std::vector<TLayoutCase> cases = {
        {"back to back", {{"a.dff", 1, 1}, {"b.txd", 2, 2}, {"c.col", 4, 1}}, 0, {}, 2, 0},
        {"hole between neighbours", {{"a.dff", 1, 1}, {"b.txd", 3, 1}, {"c.ifp", 4, 1}}, 0, {"b.txd", "c.ifp"}, 2, 1, 2048},
        {"data out of directory order", {{"a.dff", 3, 1}, {"b.txd", 1, 2}}, 0, {"b.txd"}, 1, 1},
        {"unknown extension breaks the chain", {{"a.dff", 1, 1}, {"r.xyz", 5, 1}, {"b.txd", 2, 1}}, 0, {}, 0, 0, 4096},
        {"a later duplicate is skipped and the chain runs on across it",
         {{"a.dff", 1, 1}, {"b.txd", 2, 1}, {"A.DFF", 6, 1}, {"c.dff", 3, 1}, {"d.dff", 4, 1}}, 0, {}, 3, 0, 2048,
         0, 0, 0, 1},
        {"duplicate apart from its neighbours", {{"a.dff", 1, 1}, {"A.dff", 3, 1}, {"b.txd", 2, 1}}, 0, {}, 1, 0, 0,
         0, 0, 0, 1},
        {"duplicate's data between its neighbours", {{"a.dff", 1, 1}, {"A.dff", 2, 1}, {"b.txd", 3, 1}}, 0, {"b.txd"},
         1, 1, 0, 0, 0, 0, 1},
        {"duplicates by model name and kind, not by whole name",
         {{"a.dff", 1, 1}, {"A.dffx", 4, 1}, {"a.txd", 2, 1}, {"b.DFF", 3, 1}}, 0, {}, 2, 0, 0, 0, 0, 0, 1},
        {"the first three letters after the dot make the kind",
         {{"c.dffx", 1, 1}, {"d.txdold", 2, 1}, {"e.df", 3, 1}, {"f.col", 4, 1}}, 0, {}, 1, 0},
        {"free records break the chain",
         {{"a.dff", 1, 1}, {"vehmira-free-000001", 2, 1}, {"b.txd", 5, 1}, {"vehmira-free-000002", 5, 0},
          {"c.txd", 3, 1}},
         0, {}, 0, 0, 2048, 0, 0, 0, 0, 0, 2, 2048},
        {"extension after the first dot, any case",
         {{"x.DfF", 1, 1}, {"a.b.dff", 5, 1}, {"y.RRR", 2, 1}, {"z.scm", 3, 1}, {"noext", 9, 1}, {"w.ipl", 4, 1}}, 0,
         {}, 1, 0, 6144},
        {"empty directory", {}, 0, {}, 0, 0},
        {"one entry", {{"a.dff", 1, 3}}, 0, {}, 0, 0},
        {"entries of Size 0", {{"a.dff", 1, 0}, {"b.dff", 1, 1}, {"c.dat", 2, 0}, {"d.dat", 2, 1}}, 0, {}, 3, 0},
        {"short tail", {{"a.dff", 1, 1}, {"b.txd", 2, 2}}, 100, {}, 1, 0, 0, 0, 0, 1},
        {"unterminated names",
         {{"abcdefghijklmnopqrst.dff", 1, 1}, {"b.txd", 2, 1}, {"abcdefghijklmnopqrst.txd", 3, 1}}, 0, {}, 2, 0, 0,
         0, 0, 0, 0, 2},
        {"past the end", {{"a.dff", 1, 1}, {"b.txd", 2, 2}}, 2048, {}, 1, 0, 0, 0, 1},
        {"overlapping blocks", {{"a.dff", 1, 2}, {"b.txd", 2, 1}}, 0, {"b.txd"}, 1, 1, 0, 2},
    };
    return cases;
}

std::filesystem::path WriteLayoutCase(const std::filesystem::path& path, const TLayoutCase& test)
{
    WriteTestArchive(path, test.Entries);
    if (test.CutBytes != 0)
        std::filesystem::resize_file(path, std::filesystem::file_size(path) - std::uint64_t(test.CutBytes));
    return path;
}

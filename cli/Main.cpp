// The `vehmira` executable: the arguments as UTF-8 into RunVehmira.

#include "cli/CommandLine.h"

#include <iostream>
#include <string>
#include <vector>

using namespace vehmira::cli;

#ifdef _WIN32
#include <windows.h>

namespace {
std::string WideToUtf8(const wchar_t* text)
{
    const int length = static_cast<int>(wcslen(text));
    if (length == 0)
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, result.data(), size, nullptr, nullptr);
    return result;
}

// A console shows the UTF-8 output as text; a pipe or file gets the bytes as they are.
void UseUtf8Console()
{
    for (const DWORD stream : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE})
        if (GetFileType(GetStdHandle(stream)) == FILE_TYPE_CHAR) {
            SetConsoleOutputCP(CP_UTF8);
            return;
        }
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    UseUtf8Console();
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(WideToUtf8(argv[i]));
    return RunVehmira(args, std::cout, std::cerr);
}
#else
int main(int argc, char** argv)
{
    return RunVehmira(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
#endif

#include "cli/CommandLine.h"

#include <cwchar>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// windows.h first
#include <shellapi.h>
#endif

std::vector<std::string> CommandLine::start(int argc, char** argv) {
#ifdef _WIN32
    ::SetConsoleOutputCP(CP_UTF8);
    int count = 0;
    if (LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
        std::vector<std::string> words;
        for (int i = 1; i < count; ++i) {
            const int length = static_cast<int>(std::wcslen(wide[i]));
            const int n =
                ::WideCharToMultiByte(CP_UTF8, 0, wide[i], length, nullptr, 0, nullptr, nullptr);
            std::string word(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
            ::WideCharToMultiByte(CP_UTF8, 0, wide[i], length, word.data(), n, nullptr, nullptr);
            words.push_back(std::move(word));
        }
        ::LocalFree(wide);
        return words;
    }
#endif
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::filesystem::path CommandLine::path(const std::string& word) {
#ifdef _WIN32
    // The library would read a narrow string in the ANSI code page.
    return std::filesystem::path(std::u8string(word.begin(), word.end()));
#else
    return word;
#endif
}

#include "plat/debug_output.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "plat/text.h"

namespace plat {
namespace {

std::mutex g_outputLock;

void WriteLine(const std::string& utf8) {
    std::lock_guard<std::mutex> lock(g_outputLock);
    const char* logFile = std::getenv("DM_LOG_FILE");
    FILE* target = stderr;
    if (logFile && *logFile) {
        target = std::fopen(logFile, "a");
        if (!target) {
            target = stderr;
        }
    }
    std::fwrite(utf8.data(), 1, utf8.size(), target);
    if (utf8.empty() || utf8.back() != '\n') {
        std::fputc('\n', target);
    }
    if (target == stderr) {
        std::fflush(target);
    } else {
        std::fclose(target);
    }
}

}  // namespace

void OutputDebugStringA(const char* text) {
    WriteLine(AnsiToUtf8(text ? text : ""));
}

void OutputDebugStringW(const wchar_t* text) {
    WriteLine(WideToUtf8(text ? text : L""));
}

}  // namespace plat

// The log's entry function and the published log object, both under the log lock.
#include <cstdarg>
#include <cwchar>
#include <mutex>
#include <string>
#include <vector>

#include "DMSmartPtrT.h"
#include "IDMLog.h"

namespace DM {
namespace {

std::mutex& LogLock() {
    static std::mutex lock;
    return lock;
}

// Published by the registry; holds one reference of its own.
DMSmartPtrT<IDMLog>& LogSink() {
    static DMSmartPtrT<IDMLog> sink;
    return sink;
}

// Formats into a 64-character buffer when the text fits, else into ever larger heap buffers.
std::wstring FormatMessage(const wchar_t* format, va_list arguments) {
    wchar_t small[64];
    va_list attempt;
    va_copy(attempt, arguments);
    int length = std::vswprintf(small, 64, format, attempt);
    va_end(attempt);
    if (length >= 0) {
        return std::wstring(small, static_cast<std::size_t>(length));
    }
    for (std::size_t size = 256; size <= (1u << 24); size *= 4) {
        std::vector<wchar_t> large(size);
        va_copy(attempt, arguments);
        length = std::vswprintf(large.data(), size, format, attempt);
        va_end(attempt);
        if (length >= 0) {
            return std::wstring(large.data(), static_cast<std::size_t>(length));
        }
    }
    return format;
}

}  // namespace

void SetLogSink(IDMLog* log) {
    std::lock_guard<std::mutex> guard(LogLock());
    LogSink() = DMSmartPtrT<IDMLog>(log);
}

DMCode DMLog(int level, const wchar_t* function, const wchar_t* file, int line,
             const wchar_t* format, ...) {
    std::lock_guard<std::mutex> guard(LogLock());
    if (!LogSink()) {
        return DM_ECODE_FAIL;
    }
    va_list arguments;
    va_start(arguments, format);
    std::wstring message = FormatMessage(format, arguments);
    va_end(arguments);
    return LogSink()->LogW(level, function, file, line, message.c_str());
}

std::wstring QualifiedFunctionName(const char* prettyFunction) {
    std::string text = prettyFunction;
    std::size_t open = text.find('(');
    std::string name = text.substr(0, open);
    std::size_t space = name.rfind(' ');
    if (space != std::string::npos) {
        name = name.substr(space + 1);
    }
    return std::wstring(name.begin(), name.end());
}

}  // namespace DM

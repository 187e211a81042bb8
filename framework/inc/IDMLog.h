// The log: diagnostic lines for developers, through one process-wide entry function to the
// current log object (the default object of type 10), which writes them to the platform's
// debugger output.
#pragma once

#include "DMBase.h"

namespace DM {

enum DMLOGLEVEL {
    DMLOG_TRACE = 0,
    DMLOG_DEBUG = 1,
    DMLOG_INFO = 2,
    DMLOG_WARN = 3,
    DMLOG_ERR = 4,
    DMLOG_FATAL = 5,
};

class IDMLog : public DMBase {
public:
    virtual DMCode LogW(int level, const wchar_t* function, const wchar_t* file, int line,
                        const wchar_t* message) = 0;
};

// Formats the message printf-style and hands it to the published log object: its result, or
// 1 when no log object is published.
DMCode DMLog(int level, const wchar_t* function, const wchar_t* file, int line,
             const wchar_t* format, ...);

// Publishes `log` (null clears), under the log lock. The registry does this for type 10.
void SetLogSink(IDMLog* log);

// "DM::DMResZipImpl::ParseIndex" from a __PRETTY_FUNCTION__ text.
std::wstring QualifiedFunctionName(const char* prettyFunction);

}  // namespace DM

// Logs at level 4 with the calling function's qualified name, the file and the line.
#define LOG_ERR(format, ...)                                                               \
    ::DM::DMLog(::DM::DMLOG_ERR, ::DM::QualifiedFunctionName(__PRETTY_FUNCTION__).c_str(), \
                L"" __FILE__, __LINE__, format __VA_OPT__(, ) __VA_ARGS__)

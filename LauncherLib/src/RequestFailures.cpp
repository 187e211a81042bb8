#include "RequestFailures.h"

#include <Poco/Exception.h>
#include <Poco/Net/NetException.h>

#include "TransferStopped.h"
#include "plat/text.h"

namespace LauncherLib {
namespace {

void Fail(CCommandBase& command, ResultMap& result, const char* code, std::string text) {
    result.Set("content", std::move(text));
    result.Set("code", code);
    command.SetFail();
}

}  // namespace

void RunReportingFailures(CCommandBase& command, ResultMap& result,
                          const std::function<void()>& request) {
    try {
        request();
    } catch (const Poco::Net::NetException& failure) {
        Fail(command, result, "-1", failure.displayText());
    } catch (const Poco::TimeoutException& failure) {
        Fail(command, result, "-1", failure.displayText());
    } catch (const Poco::URISyntaxException& failure) {
        Fail(command, result, "-1", failure.displayText());
    } catch (const TransferStopped& stopped) {
        Fail(command, result, "-1", stopped.what());
    } catch (...) {
        Fail(command, result, "-2", plat::Utf8ToAnsi("未知错误"));
    }
}

}  // namespace LauncherLib

#include "LauncherLib/UrlHttpPostCommand.h"

#include <Poco/URI.h>
#include <curl/curl.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "CurlDownload.h"
#include "LauncherLib/CurlTransfer.h"
#include "LauncherLib/DownloadStream.h"
#include "PostForm.h"

namespace LauncherLib {
namespace {

constexpr long kOk = 200;

// The answer's body, collected in memory through a stream, as the downloads collect theirs
// in a file.
class MemoryBody {
public:
    MemoryBody() : file(open_memstream(&data, &size)) {
        if (!file) {
            throw std::bad_alloc();
        }
    }
    ~MemoryBody() {
        std::fclose(file);
        std::free(data);
    }
    MemoryBody(const MemoryBody&) = delete;
    MemoryBody& operator=(const MemoryBody&) = delete;

    std::FILE* Stream() const { return file; }
    std::string Text() {
        std::fflush(file);
        return std::string(data, size);
    }

private:
    char* data = nullptr;
    std::size_t size = 0;
    std::FILE* file;
};

struct HeaderListFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, HeaderListFree>;

// libcurl's verbose output goes nowhere.
int DiscardDebugOutput(CURL*, curl_infotype, char*, std::size_t, void*) {
    return 0;
}

}  // namespace

void CUrlHttpPostCommand::Execute(ResultMapPtr result) {
    RunPost(*this, *result, [&](const PostParams& params) { Post(params, *result); });
}

void CUrlHttpPostCommand::Post(const PostParams& params, ResultMap& result) {
    // An address that does not parse fails here, as it does in the POCO commands.
    const Poco::URI checked(params.url);
    EasyHandle easy(curl_easy_init());
    if (!easy) {
        FailCurlInit(*this, result);
        return;
    }
    std::string form = EncodedForm(params.fields);
    MemoryBody body;
    DownloadStream stream{body.Stream(), easy.get(), kOk};
    HeaderList headers(
        curl_slist_append(nullptr, "Content-Type:application/x-www-form-urlencoded"));
    SetRequestOptions(easy.get(), params.url, LowSpeedLimit{});
    curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, WriteToStream);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &stream);
    curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDS, form.c_str());
    curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDSIZE, static_cast<long>(form.size()));
    curl_easy_setopt(easy.get(), CURLOPT_POST, 1L);
    curl_easy_setopt(easy.get(), CURLOPT_DEBUGFUNCTION, DiscardDebugOutput);
    curl_easy_setopt(easy.get(), CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(easy.get(), CURLOPT_HTTPHEADER, headers.get());

    CURLcode code = PerformTransfer(easy.get(), [this] { return IsCancelled(); });
    if (code != CURLE_OK && !stream.rejectedStatus) {
        SetFail();
        result.Set("code", "-1");
        result.Set("content", curl_easy_strerror(code));
        return;
    }
    long status = ResponseCode(easy.get());
    result.Set("code", std::to_string(status));
    if (status == kOk) {
        result.Set("content", body.Text());
        SetSuccess();
    } else {
        result.Set("content", HttpCodeText(static_cast<int>(status)));
        SetFail();
    }
}

}  // namespace LauncherLib

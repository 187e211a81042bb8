#include "HttpServers.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace vael::test {
namespace {

std::filesystem::path StateFolder() {
    const char* state = std::getenv("VAEL_HTTP_SERVERS");
    if (!state) {
        ADD_FAILURE() << "VAEL_HTTP_SERVERS is not set: run this test through ctest, whose "
                         "fixture starts the servers";
        return {};
    }
    return state;
}

std::string UrlOf(const char* portFile, const std::string& path) {
    std::ifstream port(StateFolder() / portFile);
    std::string number;
    port >> number;
    return "http://127.0.0.1:" + number + path;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::size_t AppendToString(char* data, std::size_t size, std::size_t count, void* text) {
    static_cast<std::string*>(text)->append(data, size * count);
    return size * count;
}

std::string Fetch(const std::string& url) {
    std::string body;
    CURL* easy = curl_easy_init();
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, AppendToString);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
    CURLcode code = curl_easy_perform(easy);
    curl_easy_cleanup(easy);
    EXPECT_EQ(code, CURLE_OK) << url;
    return body;
}

// The lines of one of nginx's logs whose address holds `fileName`.
std::vector<std::string> NginxLogLinesFor(const char* logName, const std::string& fileName) {
    std::ifstream log(StateFolder() / "nginx" / logName);
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) {
        if (line.find(fileName) != std::string::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}

}  // namespace

std::filesystem::path ServedFolder() {
    return StateFolder() / "root";
}

std::string NginxUrl(const std::string& path) {
    return UrlOf("nginx.port", path);
}

std::string FaultServerUrl(const std::string& path) {
    return UrlOf("fault.port", path);
}

std::vector<std::string> NginxRequestsFor(const std::string& fileName) {
    return NginxLogLinesFor("access.log", fileName);
}

std::vector<std::string> NginxUserAgentsFor(const std::string& fileName) {
    std::vector<std::string> agents;
    for (const std::string& line : NginxLogLinesFor("agents.log", fileName)) {
        agents.push_back(line.substr(line.find(' ') + 1));
    }
    return agents;
}

std::vector<std::string> FaultServerRequests(const std::string& token) {
    return Lines(Fetch(FaultServerUrl("/log/" + token)));
}

std::vector<std::string> FaultServerBodies(const std::string& token) {
    return Lines(Fetch(FaultServerUrl("/bodies/" + token)));
}

std::string RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(generator());
    }
    return bytes;
}

std::string UniqueFileName(const std::string& extension) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "_" + test->name();
    for (char& c : name) {
        if (c == '/') {
            c = '_';
        }
    }
    return name + extension;
}

}  // namespace vael::test

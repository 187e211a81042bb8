#include "FaultPlan.h"

#include <charconv>

namespace fault_server {
namespace {

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string::npos) {
            slash = path.size();
        }
        if (slash > start) {
            segments.push_back(path.substr(start, slash - start));
        }
        start = slash + 1;
    }
    return segments;
}

template <typename Number>
bool ReadNumber(const std::string& text, Number* value) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
    return error == std::errc() && end == text.data() + text.size();
}

std::string JoinPath(const std::vector<std::string>& segments) {
    std::string path;
    for (const std::string& segment : segments) {
        path += "/" + segment;
    }
    return path;
}

// Reads the directive at segments[*index], moving the index past its argument.
bool ReadDirective(const std::vector<std::string>& segments, std::size_t* index, FaultPlan* plan) {
    const std::string& name = segments[*index];
    if (name == "full") {
        plan->ignoreRanges = true;
        return true;
    }
    if (name == "loop") {
        plan->loop = true;
        return true;
    }
    if (name == "nolength") {
        plan->noLength = true;
        return true;
    }
    if (*index + 2 >= segments.size()) {
        return false;
    }
    const std::string& argument = segments[++*index];
    std::uint64_t number = 0;
    if (name == "id") {
        plan->token = argument;
        return true;
    }
    if (name == "redirect") {
        return ReadNumber(argument, &plan->redirects) && plan->redirects >= 0;
    }
    if (!ReadNumber(argument, &number)) {
        return false;
    }
    if (name == "drop") {
        plan->dropAt = number;
    } else if (name == "stall") {
        plan->stallAt = number;
    } else if (name == "length") {
        plan->announcedLength = number;
    } else if (name == "pace") {
        plan->bytesPerSecond = number;
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::string FaultPlan::NextHop() const {
    std::vector<std::string> next = segments;
    for (std::size_t i = 0; i + 1 < next.size(); ++i) {
        if (next[i] == "redirect") {
            if (redirects <= 1) {
                next.erase(next.begin() + i, next.begin() + i + 2);
            } else {
                next[i + 1] = std::to_string(redirects - 1);
            }
            break;
        }
    }
    return JoinPath(next);
}

std::optional<FaultPlan> ParseFaultPlan(const std::string& path) {
    FaultPlan plan;
    plan.segments = SplitPath(path);
    if (plan.segments.empty()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i + 1 < plan.segments.size(); ++i) {
        if (!ReadDirective(plan.segments, &i, &plan)) {
            return std::nullopt;
        }
    }
    plan.fileName = plan.segments.back();
    if (plan.fileName == "." || plan.fileName == "..") {
        return std::nullopt;
    }
    return plan;
}

}  // namespace fault_server

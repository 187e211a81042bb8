// The per-entry handler of the extraction pass: called by the archive walk for every local
// entry, it writes the entry below the destination folder and publishes the handled count.
#pragma once

#include <Poco/Zip/ParseCallback.h>

#include <memory>
#include <string>

#include "LauncherLib/CommandBase.h"
#include "LauncherLib/ResultMap.h"

namespace LauncherLib {

class MyDecompress : public Poco::Zip::ParseCallback {
public:
    // `destdir` is the destination folder as a GBK Windows path.
    explicit MyDecompress(const std::string& destdir);
    ~MyDecompress() override = default;

    bool handleZipEntry(std::istream& zipStream,
                        const Poco::Zip::ZipLocalFileHeader& header) override;

    void SetCommand(CCommandBase* running) { command = running; }
    void SetResult(ResultMapPtr map) { result = std::move(map); }

    int GetEntryCount() const { return entryCount; }
    // Empty while every entry so far was unpacked; else why the first failed one failed.
    const std::string& GetFirstFailure() const { return firstFailure; }

private:
    void CountEntry();
    bool HandleFolderEntry(std::istream& zipStream, const Poco::Zip::ZipLocalFileHeader& header);
    bool HandleFileEntry(std::istream& zipStream, const Poco::Zip::ZipLocalFileHeader& header);
    bool WriteFileEntry(std::istream& zipStream, const Poco::Zip::ZipLocalFileHeader& header,
                        const std::string& name);
    bool Fail(const std::string& name, const std::string& reason);

    std::string outDir;
    int entryCount = 0;
    CCommandBase* command = nullptr;
    ResultMapPtr result;
    std::string firstFailure;
    std::unique_ptr<char[]> fileBuffer;  // the output files' buffer, one file at a time
};

}  // namespace LauncherLib

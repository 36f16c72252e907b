#include "core/files/AlignmentFile.h"

#include "core/text/ControlLine.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

const char kCrLf[] = "\r\n";

std::string Header(const std::string& stamp, const std::string& columns) {
    return Gbk(text::kDateLabel) + stamp + kCrLf + columns + kCrLf;
}

}  // namespace

std::string TimeStamp(const std::tm& t) {
    // %b in the C locale, spelled out here so the process locale cannot change it.
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const int month = t.tm_mon >= 0 && t.tm_mon < 12 ? t.tm_mon : 0;
    // Each field reduced to its two digits so the stamp keeps its 24 bytes.
    auto two = [](int v) { return ((v % 100) + 100) % 100; };
    return Format(" - %02d %s %02d %02d:%02d:%02d - ", two(t.tm_mday), kMonths[month], two(t.tm_year),
                  two(t.tm_hour), two(t.tm_min), two(t.tm_sec));
}

std::string TimeStampNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return TimeStamp(local);
}

std::vector<std::string> AlignmentRecords(const std::string& bytes) {
    std::vector<std::string> lines;
    if (bytes.size() < kAlignmentHeaderBytes) return lines;
    const std::size_t n = (bytes.size() - kAlignmentHeaderBytes) / kAlignmentRecordBytes;
    lines.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        lines.push_back(bytes.substr(kAlignmentHeaderBytes + kAlignmentRecordBytes * i, kControlLineBytes));
    return lines;
}

std::string NewAlignmentFile(const std::string& stamp) { return Header(stamp, NewFileTitleLine()); }

std::string SavedAlignmentFile(const std::vector<std::string>& controlList, const std::string& stamp) {
    std::string bytes = Header(stamp, ControlHeaderLine());
    bytes.reserve(bytes.size() + controlList.size() * kAlignmentRecordBytes);
    for (std::size_t i = 1; i < controlList.size(); ++i) bytes.append(controlList[i]).append(kCrLf);
    return bytes;
}

}  // namespace vexaline

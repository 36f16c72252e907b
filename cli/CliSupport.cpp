#include "cli/CliSupport.h"

#include <cstdio>
#include <iostream>

#include "core/files/AlignmentFile.h"
#include "core/files/ProfileCsv.h"
#include "core/files/TextFile.h"
#include "core/text/ControlLine.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::cli {
namespace {

std::string WithLf(const std::string& crlf) {
    std::string out;
    out.reserve(crlf.size());
    for (std::size_t i = 0; i < crlf.size(); ++i)
        if (!(crlf[i] == '\r' && i + 1 < crlf.size() && crlf[i + 1] == '\n')) out += crlf[i];
    return out;
}

bool Write(const std::string& path, const std::string& bytes) {
    if (WriteFileAtomically(path, bytes)) return true;
    ComplainUtf8(Format(text::kCannotWrite, path.c_str()));
    return false;
}

}  // namespace

std::optional<std::string> ReadFile(const std::string& path) {
    std::string bytes;
    if (ReadWholeFile(path, bytes) == ReadStatus::Ok) return bytes;
    ComplainUtf8(Format(text::kCannotRead, path.c_str()));
    return std::nullopt;
}

std::optional<std::vector<std::string>> ReadControlList(const std::string& path) {
    std::optional<std::string> bytes = ReadFile(path);
    if (!bytes) return std::nullopt;
    std::vector<std::string> list = AlignmentRecords(*bytes);
    list.insert(list.begin(), ControlHeaderLine());
    return list;
}

void Complain(const std::string& gbk) { std::cerr << GbkToUtf8(gbk) << '\n'; }

void ComplainUtf8(const std::string& utf8) { std::cerr << utf8 << '\n'; }

bool EmitFile(const std::string& gbkBytes, const std::string& path, bool gbk) {
    if (!path.empty()) return Write(path, gbkBytes);
    const std::string out = WithLf(gbk ? gbkBytes : GbkToUtf8(gbkBytes));
    std::fwrite(out.data(), 1, out.size(), stdout);
    return true;
}

bool EmitBytes(const std::string& bytes, const std::string& path) {
    if (!path.empty()) return Write(path, bytes);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return true;
}

std::optional<Heights> ReadHeights(const std::string& profilePath, const std::string& slopesPath, int& status) {
    status = kUsage;
    Heights heights;
    const std::optional<std::string> profileBytes = ReadFile(profilePath);
    if (!profileBytes) return std::nullopt;
    const GradeCsvRead grades = ReadGradeCsv(*profileBytes);
    if (!grades.Ok()) return ComplainUtf8(grades.strMessage), std::nullopt;
    if (!slopesPath.empty()) {
        const std::optional<std::string> slopeBytes = ReadFile(slopesPath);
        if (!slopeBytes) return std::nullopt;
        const SlopeCsvRead rows = ReadSlopeCsv(*slopeBytes);
        if (!rows.Ok()) return ComplainUtf8(rows.strMessage), std::nullopt;
        status = kRefused;
        SlopesBuild slopes = BuildCrossSlopes(rows.rows);
        if (!slopes.Ok()) return ComplainUtf8(slopes.strMessage), std::nullopt;
        heights.slopes = std::move(slopes.slopes);
    }
    status = kRefused;
    ProfileBuild profile = BuildProfile(grades.rows);
    if (!profile.Ok()) return ComplainUtf8(profile.strMessage), std::nullopt;
    heights.profile = std::move(profile.profile);
    status = kDone;
    return heights;
}

}  // namespace vexaline::cli

#include "cli/CliSupport.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "core/files/AlignmentFile.h"
#include "core/files/FileType.h"
#include "core/files/FourParamCsv.h"
#include "core/files/ProfileCsv.h"
#include "core/files/TextFile.h"
#include "core/road/ResultText.h"
#include "core/road/StakeRun.h"
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

StreamedOutput::StreamedOutput(const std::string& path, Kind kind, bool gbk) : path_(path), kind_(kind), gbk_(gbk) {
    if (!path_.empty()) file_ = std::make_unique<AtomicFileWriter>(path_);
    ok_ = Drain();  // a file refused at once: the run need not begin
}

StreamedOutput::~StreamedOutput() = default;

bool StreamedOutput::Drain() {
    if (ok_ && file_) {
        ok_ = file_->Write(buffer_);
    } else if (ok_) {
        // Converted a chunk at a time: each ends at a line end, so no
        // character and no CR LF is cut in two.
        const std::string out = kind_ == Kind::Bytes ? buffer_ : WithLf(gbk_ ? buffer_ : GbkToUtf8(buffer_));
        ok_ = std::fwrite(out.data(), 1, out.size(), stdout) == out.size() && !std::ferror(stdout);
    }
    buffer_.clear();
    return ok_;
}

bool StreamedOutput::Close() {
    const bool written = Drain() && (!file_ || file_->Commit());
    file_.reset();
    if (!written && !path_.empty()) ComplainUtf8(Format(text::kCannotWrite, path_.c_str()));
    return written;
}

std::optional<Heights> ReadHeights(const std::string& profilePath, const std::string& slopesPath, int& status,
                                   const Chainage& chain) {
    status = kUsage;
    Heights heights;
    const std::optional<std::string> profileBytes = ReadFile(profilePath);
    if (!profileBytes) return std::nullopt;
    GradeCsvRead grades = ReadGradeCsv(*profileBytes);
    if (!grades.Ok()) return ComplainUtf8(grades.strMessage), std::nullopt;
    if (!slopesPath.empty()) {
        const std::optional<std::string> slopeBytes = ReadFile(slopesPath);
        if (!slopeBytes) return std::nullopt;
        SlopeCsvRead rows = ReadSlopeCsv(*slopeBytes);
        if (!rows.Ok()) return ComplainUtf8(rows.strMessage), std::nullopt;
        status = kRefused;
        SlopesBuild slopes = BuildSlopesOn(std::move(rows.rows), chain);
        if (!slopes.Ok()) return ComplainUtf8(slopes.strMessage), std::nullopt;
        heights.slopes = std::move(slopes.slopes);
    }
    status = kRefused;
    ProfileBuild profile = BuildProfileOn(std::move(grades.rows), chain);
    if (!profile.Ok()) return ComplainUtf8(profile.strMessage), std::nullopt;
    heights.profile = std::move(profile.profile);
    status = kDone;
    return heights;
}

std::optional<Chainage> ReadEquations(const std::string& path, int& status, std::vector<EquationRow>* rows) {
    status = kUsage;
    if (path.empty()) return status = kDone, Chainage();
    const std::optional<std::string> bytes = ReadFile(path);
    if (!bytes) return std::nullopt;
    const EquationCsvRead read = ReadEquationCsv(*bytes);
    if (!read.Ok()) return ComplainUtf8(read.strMessage), std::nullopt;
    status = kRefused;
    ChainageBuild chain = BuildChainage(read.rows);
    if (!chain.Ok()) return ComplainUtf8(chain.strMessage), std::nullopt;
    if (rows) *rows = read.rows;
    status = kDone;
    return std::move(chain.chain);
}

std::optional<FourParam> ReadFourParam(const std::string& path, int& status) {
    status = kUsage;
    const std::optional<std::string> bytes = ReadFile(path);
    if (!bytes) return std::nullopt;
    status = kRefused;
    const FourParamRead read = ReadFourParamCsv(*bytes);
    if (!read.Ok()) return ComplainUtf8(path + ": " + read.strMessage), std::nullopt;
    status = kDone;
    return read.params;
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ea, eb, e;
    if (std::filesystem::equivalent(a, b, e) && !e) return true;  // both exist: hard links too
    return std::filesystem::weakly_canonical(a, ea) == std::filesystem::weakly_canonical(b, eb) && !ea && !eb;
}

bool DistinctFiles(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs) {
    std::vector<std::string> all = outputs;
    all.insert(all.end(), inputs.begin(), inputs.end());
    for (std::size_t i = 0; i < outputs.size(); ++i)
        for (std::size_t j = i + 1; j < all.size(); ++j)
            if (!all[i].empty() && !all[j].empty() && SameFile(all[i], all[j]))
                return ComplainUtf8(Format(text::kSameFileTwice, all[i].c_str(), all[j].c_str())), false;
    return true;
}

bool RemoveTablesBeside(const std::string& roadPath, const std::vector<std::string>& keep) {
    for (const char* extension : {"vxd", "vxz", "vxh"}) {
        const std::string table = WithExtension(roadPath, extension);
        std::error_code ignored;
        if (!std::filesystem::exists(std::filesystem::symlink_status(table, ignored)) ||
            std::any_of(keep.begin(), keep.end(), [&](const std::string& k) { return SameFile(k, table); }))
            continue;
        if (!RemoveFile(table)) return ComplainUtf8(Format(text::kCannotRemoveTable, table.c_str())), false;
        ComplainUtf8(Format(text::kRemovedTable, table.c_str()));
    }
    return true;
}

std::optional<Road> ReadRoad(const std::string& path, const std::string& equationsPath, int& status) {
    status = kUsage;
    std::optional<std::vector<std::string>> list = ReadControlList(path);
    if (!list) return std::nullopt;
    const std::optional<Chainage> chain = ReadEquations(equationsPath, status);
    if (!chain) return std::nullopt;
    // The window reads the table beside the road by itself: its stations
    // here and there would differ without a word.
    const std::string beside = WithExtension(path, "vxd");
    std::error_code ignored;
    if (equationsPath.empty() && std::filesystem::is_regular_file(beside, ignored))
        ComplainUtf8(Format(text::kChainBesideUnused, beside.c_str(), beside.c_str()));
    Road r{std::move(*list), Alignment()};
    r.road = Alignment::Parse(r.list, *chain);
    status = kRefused;
    if (!r.road.ChainMessage().empty()) return ComplainUtf8(r.road.ChainMessage()), std::nullopt;
    status = kDone;
    return r;
}

ChainStation StationArgument(const std::string& text, bool equations, const char* option) {
    if (equations) {
        if (const std::optional<ChainStation> s = ParseChainStation(text)) return *s;
        throw CLI::ValidationError(option, Format(text::kChainBadStation, text.c_str()));
    }
    double value = 0;
    if (!CLI::detail::lexical_cast(text, value)) throw CLI::ValidationError(option, text + " is not a number");
    return ChainStation{value, 0};
}

void StationsAsked::CheckArguments(bool equations) const {
    for (const std::string& s : at) StationArgument(s, equations, "--at");
    if (from) StationArgument(*from, equations, "--from");
    if (to) StationArgument(*to, equations, "--to");
}

std::optional<double> DistanceOn(const Chainage& chain, ChainStation station, const std::string& typed) {
    if (chain.Empty()) return station.dValue;
    const ChainDistance d = chain.Distance(station);
    if (d.fault == ChainFault::None) return d.dDistance;
    ComplainUtf8(ChainRefusal(d, typed));
    return std::nullopt;
}

std::string StationText(const Alignment& road, double distance) {
    if (road.Chain().Empty()) return Format("%.3f", distance);
    return ChainStationText(road.Chain().StationAt(distance));
}

bool StationsAsked::OneWay() const {
    const bool range = from || to || interval;
    if (range != at.empty() || (range && !(from && to && interval))) return ComplainUtf8(text::kRangeOrStations), false;
    return true;
}

std::optional<std::vector<double>> AskedStations(const StationsAsked& asked, const Alignment& road, bool equations,
                                                 int& status) {
    status = kRefused;
    const bool range = asked.from.has_value();
    std::vector<double> at;
    for (const std::string& typed : range ? std::vector<std::string>{*asked.from, *asked.to} : asked.at) {
        const std::optional<double> d = DistanceOn(road.Chain(), StationArgument(typed, equations, "--at"), typed);
        if (!d) return std::nullopt;
        at.push_back(*d);
    }
    if (!range) {
        for (double s : at) {
            const StakeCheck check = CheckSingleStake(road, s);
            if (check != StakeCheck::Ok) return ComplainUtf8(CheckMessage(check, road)), std::nullopt;
        }
        return at;
    }
    StakeRequest request;
    request.dStartStation = at[0], request.dEndStation = at[1], request.dInterval = *asked.interval;
    if (equations) request.dStartChainStation = StationArgument(*asked.from, true, "--from").dValue;
    const StakeCheck check = CheckStakeRun(road, request);
    if (check != StakeCheck::Ok) return ComplainUtf8(CheckMessage(check, road)), std::nullopt;
    ResultSet centre;
    RunStakes(road, request, centre, 0, nullptr);
    std::vector<double> stations;
    stations.reserve(centre.rows.size());
    for (const StakeResult& row : centre.rows) stations.push_back(row.dStation);
    return stations;
}

}  // namespace vexaline::cli

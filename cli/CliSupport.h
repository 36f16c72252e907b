#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/files/TextFile.h"
#include "core/grid/FourParam.h"
#include "core/road/Alignment.h"
#include "core/road/Chainage.h"
#include "core/road/CrossSlope.h"
#include "core/road/Profile.h"

// What every subcommand of vexaline-cli needs: reading the files, speaking
// UTF-8 on the terminal and GBK in files, and the exit statuses.
namespace vexaline::cli {

enum Status { kDone = 0, kRefused = 1, kUsage = 2 };

// The control list of an alignment file, header line first, as the window
// holds it after 打开. nullopt, after saying so on stderr, when the file
// cannot be read.
std::optional<std::vector<std::string>> ReadControlList(const std::string& path);

// Reads a whole file; nullopt after saying so on stderr.
std::optional<std::string> ReadFile(const std::string& path);

// A GBK message on stderr, as UTF-8, with a line end.
void Complain(const std::string& gbk);
// A fixed text of the program (UTF-8) on stderr.
void ComplainUtf8(const std::string& utf8);

// Bytes of a file format (already GBK, CR LF): written to path atomically,
// or printed on stdout (converted to UTF-8 with LF unless gbk).
bool EmitFile(const std::string& gbkBytes, const std::string& path, bool gbk);

// Bytes of an exchange format (DXF, CASS, CSV, LandXML), written to path
// atomically or printed on stdout exactly as they are.
bool EmitBytes(const std::string& bytes, const std::string& path);

// Output written as it is made, for results too long to hold (a run of a
// million stakes): to path through an AtomicFileWriter, the file complete
// at Close or not there at all (an old one then left whole), or on stdout
// as EmitFile (GbkText) or EmitBytes (Bytes) prints it. Append whole lines
// (CR LF included) to Buffer(), then Flush().
class StreamedOutput {
public:
    enum class Kind { GbkText, Bytes };
    StreamedOutput(const std::string& path, Kind kind, bool gbk);
    ~StreamedOutput();
    StreamedOutput(const StreamedOutput&) = delete;
    StreamedOutput& operator=(const StreamedOutput&) = delete;

    std::string& Buffer() { return buffer_; }
    // Writes the buffer once it holds a chunk. False when the output has
    // failed: nothing more can reach it.
    bool Flush() { return buffer_.size() < kChunk ? ok_ : Drain(); }
    // Writes the rest and completes the file; false after saying why when
    // the file could not be written (a failed stdout is main's to name).
    bool Close();

private:
    static constexpr std::size_t kChunk = 1 << 20;
    bool Drain();
    std::string path_, buffer_;
    Kind kind_;
    bool gbk_, ok_ = true;
    std::unique_ptr<AtomicFileWriter> file_;
};

// The road's heights: the vertical alignment and, when a path is given,
// the cross slopes. status is kUsage for a file that cannot be read or is
// no table, kRefused for a table whose rows are refused (said on stderr).
struct Heights {
    Profile profile;
    CrossSlopes slopes;
};
// With station equations the tables' stations are 桩号, converted here;
// one in no zone refuses the table, naming its line.
std::optional<Heights> ReadHeights(const std::string& profilePath, const std::string& slopesPath, int& status,
                                   const Chainage& chain = Chainage());

// The station equations of --equations (a .vxd); an empty path gives none.
// status as ReadHeights sets it. rows, when given, gets the table's rows.
std::optional<Chainage> ReadEquations(const std::string& path, int& status,
                                      std::vector<EquationRow>* rows = nullptr);

// The four parameters of a .vxf (--four); nullopt after saying why, naming
// the file: status kUsage for a file that cannot be read, kRefused for one
// whose rows or parameters are refused.
std::optional<FourParam> ReadFourParam(const std::string& path, int& status);

// Whether two names lead to one file (through "./", "..", symbolic and
// hard links).
bool SameFile(const std::string& a, const std::string& b);

// Before anything is written: false after naming both on stderr when two of
// the files a command writes are one file, or one of them is a file it
// reads (SameFile). Empty names (stdout, an option not given) are skipped;
// inputs are not compared with each other.
bool DistinctFiles(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs);

// A road just written over an earlier one: removes the tables that road
// left beside it (ROAD.vxd, .vxz, .vxh) other than those in keep (written
// with it, or its own), which the window would read as this road's: other
// station equations, another road's heights. Names each on stderr. Call it
// only where a road was replaced: tables beside a new road's name are the
// user's, made for it. False after naming one that cannot be removed.
bool RemoveTablesBeside(const std::string& roadPath, const std::vector<std::string>& keep);

// The road of an alignment file read with its station equations (path
// empty: none): the control list as the window holds it, and the road.
// status kUsage for a file that cannot be read or is no table, kRefused for
// a table refused or one that does not fit the road (said on stderr).
struct Road {
    std::vector<std::string> list;
    Alignment road;
};
std::optional<Road> ReadRoad(const std::string& path, const std::string& equationsPath, int& status);

// A station argument: a number, or with equations a 桩号 as typed
// (ParseChainStation: K notation, an occurrence "(2)"). Throws
// CLI::ValidationError naming the option when it is neither.
ChainStation StationArgument(const std::string& text, bool equations, const char* option);

// Its distance on the road's equations: itself without, else the mapped
// distance; nullopt after naming it (as typed) on stderr (in no zone,
// ambiguous).
std::optional<double> DistanceOn(const Chainage& chain, ChainStation station, const std::string& typed);

// The 桩号 text of a distance on the road ("%.3f", with its occurrence on
// a road with equations).
std::string StationText(const Alignment& road, double distance);

// The stations a command asks for: --from, --to and --interval, or --at.
struct StationsAsked {
    std::optional<std::string> from, to;
    std::optional<double> interval;
    std::vector<std::string> at;
    // One of the two ways, the range complete; false after saying so.
    bool OneWay() const;
    // Each station given read by StationArgument (throws as it does).
    void CheckArguments(bool equations) const;
};

// Their distances: the range stepped as a run of stakes is (by 桩号 on a
// road with equations), or each single station; nullopt after saying why
// (a station on no place, out of the road, a run refused), status kRefused.
std::optional<std::vector<double>> AskedStations(const StationsAsked& asked, const Alignment& road, bool equations,
                                                 int& status);

}  // namespace vexaline::cli

#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The pieces of an ISO 10303-21 (STEP) file that the IFC export writes:
// entity instances numbered as they are added, reals, strings, lists and
// the 22-character GlobalIds of IFC. Only what the export needs.
namespace vexaline::ifc {

// The data section, one instance a line: "#n=TYPE(args);".
class StepData {
public:
    explicit StepData(std::uint64_t guidSeed) : seed_(guidSeed) {}
    // Appends the instance and gives its number.
    int Add(const char* type, const std::string& args);
    // A GlobalId, quoted: 128 bits from the seed and a running count, so
    // that the same road gives the same ids and another road other ones.
    std::string NewGuid();
    const std::string& Text() const { return text_; }

private:
    std::string text_;
    int next_ = 1;
    std::uint64_t seed_;
    std::uint64_t guids_ = 0;
};

// The shortest text that reads back as the same double (every digit it
// needs, none more), in STEP's form: always a '.', exponent "E"; "0." for
// zero. Finite values only.
std::string Real(double v);
// "#12"; "$" for 0.
std::string Ref(int id);
// "(#1,#2)".
std::string Refs(const std::vector<int>& ids);
// "(1.5,2.)".
std::string Reals(const std::vector<double>& values);
// A string literal of UTF-8 text: ASCII as it is (' and \ doubled), every
// other character as \X2\hhhh\X0\ (UTF-16), or \X4\hhhhhhhh\X0\ beyond it.
std::string Str(const std::string& utf8);
// IFCLENGTHMEASURE(v), a typed value where a select needs it.
std::string Length(double v);

// FNV-1a over the bytes, for a GlobalId seed.
std::uint64_t Fnv1a(const std::string& bytes, std::uint64_t h = 14695981039346656037ULL);

}  // namespace vexaline::ifc

// Stakes as DXF, read back by a minimal reader of group codes written here:
// pairs of a code line and a value line, entities from one "0" to the next.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "core/files/AlignmentFile.h"
#include "core/files/StakeExport.h"
#include "core/files/TextFile.h"
#include "core/text/ControlLine.h"
#include "core/text/Gbk.h"

using namespace vexaline;

namespace {

struct Entity {
    std::string type;
    std::multimap<int, std::string> codes;
    std::string Get(int code) const {
        auto it = codes.find(code);
        return it == codes.end() ? std::string() : it->second;
    }
    double X() const { return std::atof(Get(10).c_str()); }
    double Y() const { return std::atof(Get(20).c_str()); }
};

struct Drawing {
    std::map<std::string, std::string> header;  // $NAME → its first value
    std::vector<std::string> layers;
    std::vector<Entity> entities;
    bool endsWithEof = false;
};

std::string Trim(std::string s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ')) s.pop_back();
    std::size_t a = s.find_first_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a);
}

Drawing Read(const std::string& bytes) {
    std::istringstream in(bytes);
    std::vector<std::pair<int, std::string>> pairs;
    for (std::string code, value; std::getline(in, code) && std::getline(in, value);)
        pairs.emplace_back(std::atoi(Trim(code).c_str()), Trim(value));
    Drawing d;
    std::string section, var;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        auto [code, value] = pairs[i];
        if (code == 0 && value == "SECTION") section = pairs[++i].second;
        else if (code == 0 && value == "EOF") d.endsWithEof = i + 1 == pairs.size();
        else if (section == "HEADER" && code == 9) var = value;
        else if (section == "HEADER" && code != 0 && !var.empty()) d.header.emplace(var, value), var.clear();
        else if (section == "TABLES" && code == 0 && value == "LAYER") d.layers.push_back("");
        else if (section == "TABLES" && code == 2 && !d.layers.empty() && d.layers.back().empty()) d.layers.back() = value;
        else if (section == "ENTITIES" && code == 0 && value != "ENDSEC") d.entities.push_back({value, {}});
        else if (section == "ENTITIES" && code != 0 && !d.entities.empty()) d.entities.back().codes.emplace(code, value);
    }
    return d;
}

std::vector<const Entity*> On(const Drawing& d, const char* type, const char* layer) {
    std::vector<const Entity*> found;
    for (const Entity& e : d.entities)
        if (e.type == type && e.Get(8) == Gbk(layer)) found.push_back(&e);
    return found;
}

Alignment Demo() {
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(std::string(VEXALINE_SOURCE_DIR) + "/examples/demo.vxa", bytes), ReadStatus::Ok);
    std::vector<std::string> list = AlignmentRecords(bytes);
    list.insert(list.begin(), ControlHeaderLine());
    return Alignment::Parse(list);
}

StakeResult Row(double station, double x, double y, double offset = 0) {
    StakeResult r;
    r.dStation = station;
    r.point = CPlanePoint(x, y);
    r.dOffset = offset;
    r.dDeflection = 1.5707963267948966;
    return r;
}

}  // namespace

TEST(StakesDxf, R12InGbkWithStakesNamesAndTheCentrelineOnTheirLayers) {
    ResultSet results;
    results.rows = {Row(0, 3805000, 500000), Row(250, 3805100.25, 500200.5), Row(500, 3805280, 500420)};
    StakeResult message;
    message.nMessage = results.AddMessage(Gbk("控制数据中里程300.000或420.000处的线型和半径不相符！"));
    results.rows.push_back(message);
    const Drawing d = Read(StakesDxf(results, Demo()));
    EXPECT_TRUE(d.endsWithEof);
    EXPECT_EQ(d.header.at("$ACADVER"), "AC1009");
    EXPECT_EQ(d.header.at("$DWGCODEPAGE"), "ANSI_936");
    for (const char* layer : {"中线", "中桩", "边桩", "桩号", "测站"})
        EXPECT_NE(std::find(d.layers.begin(), d.layers.end(), Gbk(layer)), d.layers.end()) << layer;

    std::vector<const Entity*> points = On(d, "POINT", "中桩"), names = On(d, "TEXT", "桩号");
    ASSERT_EQ(points.size(), 3u);  // the message row draws nothing
    ASSERT_EQ(names.size(), 3u);
    EXPECT_TRUE(On(d, "POINT", "边桩").empty() && On(d, "POINT", "测站").empty());
    EXPECT_DOUBLE_EQ(points[1]->X(), 500200.5);  // drawing x is east
    EXPECT_DOUBLE_EQ(points[1]->Y(), 3805100.25);
    EXPECT_EQ(names[1]->Get(1), "K0+250.000");
    EXPECT_DOUBLE_EQ(names[2]->X(), 500420);

    // The centreline from 0 to 500: a straight of 300 m, a clothoid of 120 m
    // from ∞ to 600 and 80 m of the arc of 600 (demo.vxa). On radii of 600
    // and more a chord of c departs from the arc by c²/(8·600) ≤ 0.01 m.
    ASSERT_EQ(On(d, "POLYLINE", "中线").size(), 1u);
    std::vector<CPlanePoint> v;  // drawing (x, y) back to (X north, Y east)
    for (const Entity* e : On(d, "VERTEX", "中线")) v.emplace_back(e->Y(), e->X());
    ASSERT_GT(v.size(), 20u);
    EXPECT_NEAR(v.front().Distance(CPlanePoint(3805000.000, 500000.000)), 0, 1e-6);
    EXPECT_NEAR(v[1].Distance(CPlanePoint(3805182.628, 500238.006)), 0, 0.001);  // the straight ends at 300
    double along = v[0].Distance(v[1]);
    for (std::size_t i = 2; i < v.size(); ++i) {
        double chord = v[i - 1].Distance(v[i]);
        EXPECT_LE(chord * chord / (8 * 600), 0.01) << i;
        along += chord;
    }
    EXPECT_NEAR(along, 500, 0.01);  // chords of a gentle curve: just short of its length
}

TEST(StakesDxf, SideStakesAndTheStationSetupInSettingOutMode) {
    ResultSet results;
    results.mode = ResultMode::SettingOut;
    results.rows = {Row(100, 3805060, 500080, -7.5), Row(120, 3805072, 500096, -7.5)};
    StationSetup setup{Gbk("导1"), CPlanePoint(3805050, 500100), Gbk("导2"), CPlanePoint(3805150, 500100)};
    results.AddSetup(setup);
    const Drawing d = Read(StakesDxf(results, Demo()));
    EXPECT_TRUE(On(d, "POINT", "中桩").empty());
    EXPECT_EQ(On(d, "POINT", "边桩").size(), 2u);
    EXPECT_EQ(On(d, "TEXT", "桩号")[0]->Get(1), "K0+100.000L7.5");
    std::vector<const Entity*> station = On(d, "POINT", "测站"), labels = On(d, "TEXT", "测站");
    ASSERT_EQ(station.size(), 2u);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0]->Get(1), Gbk("导1"));
    EXPECT_EQ(labels[1]->Get(1), Gbk("导2"));
    std::vector<const Entity*> line = On(d, "LINE", "测站");
    ASSERT_EQ(line.size(), 1u);
    EXPECT_DOUBLE_EQ(line[0]->X(), 500100);
    EXPECT_DOUBLE_EQ(line[0]->Y(), 3805050);
    EXPECT_DOUBLE_EQ(std::atof(line[0]->Get(21).c_str()), 3805150);
}

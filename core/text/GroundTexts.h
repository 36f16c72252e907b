#pragma once
// Fixed texts of the ground (地面线, .hdm), the slope stakes (边坡放样) and
// the earthwork (土方). UTF-8, as in Texts.h, which includes this table.

namespace vexaline::text {

inline constexpr const char* kGroundFileLine = "地面线文件第%d行：";
inline constexpr const char* kGroundNoBegin = "断面应以“BEGIN,桩号”开始!";
inline constexpr const char* kGroundFieldCount = "应为“偏距,高程”两个字段!";
inline constexpr const char* kGroundColumns[2] = {"偏距", "高程"};
inline constexpr const char* kGroundNotANumber = "%s“%s”不是数字!";
inline constexpr const char* kGroundOutOfRange = "%s“%s”超出了范围!";
inline constexpr const char* kGroundTooFew = "桩号%s的断面只有%zu个点，至少要2个!";
inline constexpr const char* kGroundTooMany = "断面超过%d个，或一个断面的点超过%d个!";
inline constexpr const char* kGroundOffsetTwice = "偏距%s在第%d行已有!";
inline constexpr const char* kGroundStationTwice = "桩号%s在第%d行已有一个断面!";
inline constexpr const char* kGroundMissing = "%s：地面线文件中没有这个桩号的断面";
inline constexpr const char* kGroundNoHeights = "%s：没有设计高程（超出纵断面），找不到坡脚和坡口";
inline constexpr const char* kGroundShort = "%s %s侧：地面线没有到路基边缘（偏距%.3f米），找不到坡脚或坡口";
inline constexpr const char* kGroundNoSlope = "%s %s侧：是%s，但横断面模板在这一侧没有%s边坡，找不到%s";
inline constexpr const char* kGroundNoMeeting = "%s %s侧：地面线不够宽，找不到%s";
inline constexpr const char* kGroundTooManyBerms = "%s %s侧：边坡分了%d级仍未到地面，找不到%s";
inline constexpr const char* kGroundGap = "%s～%s：有一端没有面积，这一段的土方未计入合计";
inline constexpr const char* kGroundToe = "坡脚";
inline constexpr const char* kGroundTop = "坡口";
inline constexpr const char* kGroundFill = "填方";
inline constexpr const char* kGroundCut = "挖方";
inline constexpr const char* kGroundBerm = "平台";
inline constexpr const char* kGroundListColumns[2] = {"地面高程", "填挖"};
inline constexpr const char* kTinNoHeight = "地面点“%s”没有高程，不能用来构三角网!";
inline constexpr const char* kTinSamePlace = "地面点“%s”与“%s”在同一位置（X %.3f，Y %.3f），高程却不同（%.3f、%.3f）!";
inline constexpr const char* kTinTooFew = "地面点不足三个，或都在一条直线上：构不成三角网!";
inline constexpr const char* kCrewNoHeight = "点“%s”没有高程，未用";
inline constexpr const char* kCrewNotPlaced = "点“%s”在路线之外（反查不到桩号），未用";
inline constexpr const char* kCrewOutsideBand = "点“%s”离最近的断面%s有%.3f米，超出%.3f米，未用";
inline constexpr const char* kCrewSameOffset = "点“%s”与点“%s”在%s断面上偏距相同（%.3f米），未用";
inline constexpr const char* kCrewTooFew = "%s：只有%zu个点，没有断面";
inline constexpr const char* kCrewFurthest = "离所归断面线最远的点：“%s”，%.3f米（%s）";
inline constexpr const char* kTinOutside = "%s：横断面线不在三角网内，没有断面";
inline constexpr const char* kGroundNoSections = "没有一个断面：什么也没有写。";
inline constexpr const char* kEarthworkTitle = "土方（平均断面法）";
inline constexpr const char* kEarthworkColumns[6] = {"桩号", "填方面积", "挖方面积", "距离", "填方量", "挖方量"};
inline constexpr const char* kEarthworkTotal = "合计";

// The 横断面 dialog with the ground.
inline constexpr const char* kSectionLoadGround = "载入地面线...";
inline constexpr const char* kSectionGroundFilter =
    "地面线 (*.hdm)|*.hdm|地面点，构三角网 (*.dat *.csv)|*.dat *.csv||";
inline constexpr const char* kSectionGroundNone = "地面线：未载入";
inline constexpr const char* kSectionGroundFile = "地面线：%s（%zu 个断面）";
inline constexpr const char* kSectionGroundTin = "地面线：%s 的三角网（%zu 点，%zu 个三角形），横断面宽 ±%g 米";
inline constexpr const char* kSectionPrint = "打印...";
inline constexpr const char* kSectionSaveSheet = "存横断面图...";
inline constexpr const char* kSectionSheetFilter = "PDF 文件 (*.pdf)|*.pdf|SVG 图形 (*.svg)|*.svg||";
inline constexpr const char* kSectionSheetName = "横断面图";
inline constexpr const char* kSectionNothingToDraw = "没有可画的横断面：请先“列出”桩号。";
inline constexpr const char* kSectionEarthworkGroup = "面积与土方（平均断面法）";

// The cross-section sheets.
inline constexpr const char* kSectionSheetTitle = "横断面图";
inline constexpr const char* kSectionSheetScale = "比例 1:%.0f";
inline constexpr const char* kSectionSheetCentre = "设计高程 %s  地面高程 %s";
inline constexpr const char* kSectionSheetFillHeight = "填高 %.3f";
inline constexpr const char* kSectionSheetCutDepth = "挖深 %.3f";
inline constexpr const char* kSectionSheetAreas = "填方面积 %.2f m²  挖方面积 %.2f m²";
inline constexpr const char* kSectionSheetNoGround = "无地面线";
inline constexpr const char* kSectionSheetNoHeights = "没有设计高程：须有纵断面才能画横断面图";
inline constexpr const char* kSectionSheetTotals = "土方合计：填方 %.2f m³，挖方 %.2f m³";

}  // namespace vexaline::text

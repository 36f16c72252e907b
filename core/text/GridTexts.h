#pragma once
// Fixed texts of the road's grid (ROAD.vxc), the 坐标转换 dialog and the
// road on a map from the window. UTF-8, as in Texts.h, which includes this table.

namespace vexaline::text {

inline constexpr const char* kGridFileRefused = "道路坐标系文件（.vxc）：%s";
inline constexpr const char* kGridFileLines = "文件中应只有一行：道路坐标系，如 EPSG:4547 或 GK:114.3000,50!";
inline constexpr const char* kRoadGridGeographic =
    "坐标系 %s（%s）是经纬度坐标系：道路的 X、Y 以米为单位，道路坐标系须是平面坐标系!";
inline constexpr const char* kGridButton = "坐标转换";
inline constexpr const char* kGridCaption = "坐标转换";
inline constexpr const char* kGridTabFour = "四参数";
inline constexpr const char* kGridTabTransform = "转换点文件";
inline constexpr const char* kGridTabRoad = "道路坐标系";
inline constexpr const char* kGridPaste = "粘贴";
inline constexpr const char* kPasteCellsFieldCount = "粘贴的第%d行多于%zu项（%s）!";
inline constexpr const char* kGridReadCommon = "读取公共点...";
inline constexpr const char* kGridSolve = "解算";
inline constexpr const char* kGridSaveFour = "保存参数...";
inline constexpr const char* kGridReadFour = "读取参数...";
inline constexpr const char* kGridCommonHint = "公共点：X、Y 为设计坐标系（源）中的坐标，X'、Y' 为施工坐标系（目标）中的坐标。";
inline constexpr const char* kGridResidualHeader = "点名,vX（米）,vY（米）,残差（米）,说明";
inline constexpr const char* kGridOutlier = "超过3倍中误差";
inline constexpr const char* kGridCommonFilter = "公共点表 (*.csv)|*.csv||";
inline constexpr const char* kGridFourFilter = "四参数文件 (*.vxf)|*.vxf||";
inline constexpr const char* kGridFourName = "四参数.vxf";
inline constexpr const char* kGridFourSource = "四参数（%s）";
inline constexpr const char* kGridSolvedFrom = "解算所得";
inline constexpr const char* kGridNoFour = "还没有四参数：请先解算，或读取参数文件（.vxf）。";
inline constexpr const char* kGridUseFour = "用四参数";
inline constexpr const char* kGridInverse = "反算（施工坐标系 → 设计坐标系）";
inline constexpr const char* kGridUseGrids = "在两个坐标系之间";
inline constexpr const char* kGridFrom = "从";
inline constexpr const char* kGridTo = "到";
inline constexpr const char* kGridDecimalDegrees = "经纬度用十进制度（否则为 D.MMSS）";
inline constexpr const char* kGridTransformFile = "选择点文件并转换...";
inline constexpr const char* kGridTransformHint =
    "点文件：CASS 坐标文件（.dat）、CSV（点名,X,Y[,H]）或导线点文件（.vxp）；只改坐标，点名、高程、顺序和格式原样保留。";
inline constexpr const char* kGridTransformed = "已转换 %zu 个点，写入 %s。";
inline constexpr const char* kGridWritten = "已写入 %s。";
inline constexpr const char* kRoadGridHint =
    "道路的设计坐标所在的坐标系：EPSG:代码（如 EPSG:4547），或 GK:中央子午线[,投影面高程[,东偏]]（如 "
    "GK:114.3000,50）。保存时写在路线文件旁（ROAD.vxc），导出 KML、GeoJSON 时用它。";
inline constexpr const char* kRoadGridSet = "确定";
inline constexpr const char* kRoadGridTaken = "道路坐标系：%s（%s）。保存后写入路线文件旁的 .vxc 文件。";
inline constexpr const char* kRoadGridCleared = "已去掉道路坐标系。保存后删除路线文件旁的 .vxc 文件。";
inline constexpr const char* kAlignmentSaveAsFilter =
    "平面定线文件 (*.vxa)|*.vxa|LandXML (*.xml)|*.xml|KML (*.kml)|*.kml|GeoJSON (*.geojson)|*.geojson|"
    "IFC 4.3 (*.ifc)|*.ifc||";
inline constexpr const char* kMapNoGrid =
    "这条路还没有坐标系：请在“坐标转换”的“道路坐标系”中选定道路坐标系，再导出 KML 或 GeoJSON。";

}  // namespace vexaline::text

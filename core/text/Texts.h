#pragma once
// Every fixed text of the program, written once as UTF-8. Lines and files
// carry them as GBK: convert with Gbk() (Gbk.h) where the text is made.

namespace vexaline::text {

// Captions and titles.
inline constexpr const char* kAppTitle = "Vexaline(V0622)";
inline constexpr const char* kTipCaption = "温馨提示!";
// The element check's box alone: a full-width mark, as it always had.
inline constexpr const char* kElementCheckCaption = "温馨提示！";
inline constexpr const char* kAboutCaption = "关于Vexaline";
inline constexpr const char* kAboutLine = "Vexaline V0622 版";
inline constexpr const char* kAboutMenu = "关于 Vexaline(&A)...";
inline constexpr const char* kStationSetupCaption = "设置测站";
inline constexpr const char* kTitleWithFile = "%s - %s";  // the open file, then the program

// The desk: recent roads, the help panel's toggle.
inline constexpr const char* kRecentButton = "最近";
inline constexpr const char* kRecentTip = "最近打开的道路";
inline constexpr const char* kRecentNone = "（无）";
inline constexpr const char* kHelpToggle = "说明";
inline constexpr const char* kHelpToggleTip = "显示或收起说明";

// Line types, radius and segment remarks.
inline constexpr const char* kStraight = "直线";
inline constexpr const char* kCircular = "圆曲线";
inline constexpr const char* kTransition = "缓和曲线";
inline constexpr const char* kEndPoint = "终点";
inline constexpr const char* kInfinity = "∞";
inline constexpr const char* kMinusInfinity = "-∞";
inline constexpr const char* kRemarkStraight = "直线段";
inline constexpr const char* kRemarkCircular = "圆曲段";
inline constexpr const char* kRemarkTransition = "缓曲段";

// Control list and alignment file.
inline constexpr const char* kControlHeader = "里  程      线型      半径        X 坐 标     Y 坐 标     ";
inline constexpr const char* kNewFileStation = "  里  程   ";
inline constexpr const char* kNewFileLineType = " 线型     ";
inline constexpr const char* kNewFileRadius = " 半径       ";
inline constexpr const char* kNewFileX = "  X 坐 标  ";
inline constexpr const char* kNewFileY = "  Y 坐 标  ";
inline constexpr const char* kDateLabel = "日  期：";
inline constexpr const char* kAlignmentFilter = "平面定线文件 (*.vxa)|*.vxa||";

// Results list and export.
inline constexpr const char* kCoordinatesHeader = "桩号        X坐标         Y坐标      切线方位角  说明     ";
inline constexpr const char* kSettingOutHeader = "桩号        水平角      平距      设站点    后视点    ";
inline constexpr const char* kCadHeader = "X坐标         Y坐标";
inline constexpr const char* kProjectLabel = "工 程 名  ";
inline constexpr const char* kComputedLabel = "计算日期：";
inline constexpr const char* kComputedDateFormat = "20%y年%m月%d日%H时%M分%S秒";
inline constexpr const char* kComputedFromLabel = "  定线文件：";  // after the date: the road the rows came from
inline constexpr const char* kCsvRoadLabel = "定线文件";
inline constexpr const char* kCsvComputedLabel = "计算日期";
inline constexpr const char* kResultsFileName = "%.3lf-%.3lf间%.3lf米偏%.3lf米桩.txt";

inline constexpr const char* kResultsStale = "结果已过期：控制数据已改动，请重新计算";
inline constexpr const char* kAskPrintStale =
    "计算结果已过期：它们是按改动前的控制数据（%s）算得的，与现在的控制数据不符。\n仍要打印吗?";
inline constexpr const char* kAskSaveStale =
    "计算结果已过期：它们是按改动前的控制数据（%s）算得的，与现在的控制数据不符。\n仍要保存吗?";

// Traverse point file.
inline constexpr const char* kPointHeader = "  点名    X坐标       Y坐标   ";

// Reverse lookup.
inline constexpr const char* kRight = "右%.3lf米";
inline constexpr const char* kLeft = "左%.3lf米";

// Questions.
inline constexpr const char* kAskSaveControl = "控制数据已经改变，需要保存吗?";
inline constexpr const char* kAskSaveResults = "计算结果已经改变，需要保存吗?";
inline constexpr const char* kAskQuit = "确实要退出程序吗?";
inline constexpr const char* kAskCreate = "该文件不存在，是否创建？";
inline constexpr const char* kAskOverwriteStation = "该桩号已存在，是否覆盖?";
inline constexpr const char* kAskDeleteRecord = "确实要删除该条记录吗?";
inline constexpr const char* kAskDeletePoint = "确认删除该点吗？";
inline constexpr const char* kAskPasteOverwrite = "粘贴的行中有%d行的桩号已存在，是否覆盖?";
inline constexpr const char* kAskReplacePiTable = "交点表中已输入的数据将被替换，是否继续?";
inline constexpr const char* kAskDropPoints = "点列表中的改动尚未写入点文件，打开另一个文件将丢弃这些改动，是否继续?";

// Messages.
inline constexpr const char* kFillAll = "所有各项必须填写!";
inline constexpr const char* kNoFile = "文件没有打开!";
inline constexpr const char* kNoControl = "请检查是否打开控制文件!";
inline constexpr const char* kOutOfRange = "输入的桩号超出了范围!";
inline constexpr const char* kInvalidRange = "输入的起止桩号无效!";
inline constexpr const char* kNotFound = "抱歉!查找不到对应的桩号!";
inline constexpr const char* kSamePoints = "设站点与后视点不可相同!";
inline constexpr const char* kPointNotACoordinate = "点%s的坐标不是测量坐标（X、Y的绝对值须小于100000000米）!";
inline constexpr const char* kInvalidPoint = "无效的控制点！";
inline constexpr const char* kEnterNumber = "请输入一个数字。";
inline constexpr const char* kElementMismatch = "控制数据中里程%.3f或%.3f处的线型和半径不相符！";
inline constexpr const char* kInvalidLineType = "控制数据中里程%.3f处的线型无效！";
inline constexpr const char* kNotANumber = "控制数据中里程%s处的数据不是数字！";
inline constexpr const char* kCannotCompute = "控制数据中里程%.3f至%.3f之间的数据无法计算！";
inline constexpr const char* kBadStationLine = "控制数据第%d行的里程不是数字！";
inline constexpr const char* kFieldTooLong = "%s最多只能输入%d个字节!";
inline constexpr const char* kNotGbk = "输入中有不能用GBK编码的字符，请修改!";
inline constexpr const char* kPointTooWide = "坐标超出了点文件的字段宽度（X最多12位，Y最多10位）!";
inline constexpr const char* kCannotRead = "无法读取文件：%s";
inline constexpr const char* kCannotWrite = "无法写入文件：%s\n原有文件没有改动。";
inline constexpr const char* kBadDeflection = "偏向角必须是“度.分秒”形式的数字!";
inline constexpr const char* kDeflectionOver60 = "偏向角的分和秒必须小于60（度.分秒：90.3000是90°30′）!";
inline constexpr const char* kTooManyStakes = "桩数超过%d个，请加大桩间距或缩小里程范围!";

// Platform boxes and file dialogs.
inline constexpr const char* kEnterInteger = "请输入一个整数。";
inline constexpr const char* kAskReplaceFile = "%s已经存在。\n要替换它吗?";
inline constexpr const char* kAskTypeByName = "%s的扩展名与选定的文件类型“%s”不符。\n要保存为“%s”吗?";
inline constexpr const char* kButtonOk = "确定";
inline constexpr const char* kButtonCancel = "取消";
inline constexpr const char* kButtonYes = "是(&Y)";
inline constexpr const char* kButtonNo = "否(&N)";
inline constexpr const char* kOpenCaption = "打开";
inline constexpr const char* kSaveAsCaption = "另存为";
inline constexpr const char* kOpenButton = "打开(&O)";
inline constexpr const char* kSaveButton = "保存(&S)";
inline constexpr const char* kLookInLabel = "查找范围:";
inline constexpr const char* kFileNameLabel = "文件名(&N):";
inline constexpr const char* kFileTypeLabel = "文件类型:";

// The command line.
inline constexpr const char* kPointNotFound = "点文件中没有点%s!";
inline constexpr const char* kBadPointArgument = "点必须写成“点名,X,Y”，点名最多8个字节!";
inline constexpr const char* kPointNameTooLong = "点名“%s”超过8个字节（一个汉字占2个字节）!";
inline constexpr const char* kStdoutFailed = "无法输出结果：标准输出写入失败!";
inline constexpr const char* kOutOfMemory = "内存不足，请加大桩间距或缩小里程范围!";
inline constexpr const char* kOutOfMemoryFile = "内存不足，文件太大，无法处理!";
inline constexpr const char* kRangeOrStations = "请给出 --from、--to、--interval，或者 --at，二者选一!";

// Control row fields, as named in the overflow message.
inline constexpr const char* kFieldNames[5] = {"里程", "线型", "半径", "X", "Y"};

// Rows pasted from a spreadsheet (tab- or comma-separated), named by their line.
inline constexpr const char* kPasteNothing = "剪贴板中没有可粘贴的行!";
inline constexpr const char* kPasteTooLong = "粘贴的内容太多（最多%d行，每行最多%d个字节）!";
inline constexpr const char* kPasteFieldCount = "粘贴的第%d行应有5项（里程、线型、半径、X、Y），实有%d项!";
inline constexpr const char* kPasteEmptyField = "粘贴的第%d行的%s是空的，所有各项必须填写!";
inline constexpr const char* kPasteTooWide = "粘贴的第%d行的%s最多只能有%d个字节!";
inline constexpr const char* kPasteNotGbk = "粘贴的第%d行有不能用GBK编码的字符!";
inline constexpr const char* kPasteBadLineType = "粘贴的第%d行的线型“%s”不是直线、圆曲线、缓和曲线或终点!";
inline constexpr const char* kPastePiFieldCount = "粘贴的第%d行多于6项（交点、X、Y、半径、缓和曲线长1、缓和曲线长2）!";
inline constexpr const char* kPastePiNotANumber = "粘贴的第%d行的%s“%s”不是数字!";

// Exchange with other tools: LandXML alignments, stakes for CAD and field
// controllers, traverse points from .dat and .csv.
inline constexpr const char* kXmlNotXml = "不是有效的XML文件（第%d字节处：%s）!";
inline constexpr const char* kXmlNotLandXml = "不是LandXML文件：根元素是<%s>!";
inline constexpr const char* kXmlNoAlignment = "LandXML文件中没有路线（Alignment）!";
inline constexpr const char* kXmlChooseAlignment = "LandXML文件中有%d条路线，请指定一条：%s";
inline constexpr const char* kXmlUnknownAlignment = "LandXML文件中没有名为“%s”的路线，可选：%s";
inline constexpr const char* kXmlNoCoordGeom = "路线“%s”没有平面线形（CoordGeom）!";
inline constexpr const char* kXmlTooManyElements = "路线的线元超过%d个!";
inline constexpr const char* kXmlElementAt = "第%d个线元（里程%.3f）";
inline constexpr const char* kXmlUnknownElement = "%s是不支持的类型<%s>!";
inline constexpr const char* kXmlSpiralType = "%s的缓和曲线类型“%s”不支持，只能导入回旋线（clothoid）!";
inline constexpr const char* kXmlMissing = "%s缺少%s或其数值无效!";
inline constexpr const char* kXmlBadRot = "%s的转向rot必须是cw或ccw!";
inline constexpr const char* kXmlBadLength = "%s的长度不能为负!";
inline constexpr const char* kXmlBadRadius = "%s的半径必须大于0!";
inline constexpr const char* kXmlSpiralSameRadius = "%s是缓和曲线，但两端半径相同!";
inline constexpr const char* kXmlGap = "%s与前一线元不相接：相距%.3f米（允许1毫米）!";
inline constexpr const char* kXmlKink = "%s与前一线元的方向相差%.1f秒（允许20秒）!";
inline constexpr const char* kXmlRadiusBreak = "%s的起点半径与前面缓和曲线的终点半径不同，控制数据无法表示!";
inline constexpr const char* kXmlTooWide = "%s的数值超出了控制数据的字段宽度!";
inline constexpr const char* kXmlNothing = "路线中没有长于1毫米的线元!";
inline constexpr const char* kXmlUnknownUnit =
    "LandXML文件的长度单位“%s”无法识别（可用米、毫米、厘米、千米、英尺、美国测量英尺、英寸、英里），不能导入!";
inline constexpr const char* kUnitMillimetre = "毫米";
inline constexpr const char* kUnitCentimetre = "厘米";
inline constexpr const char* kUnitKilometre = "千米";
inline constexpr const char* kUnitFoot = "国际英尺";
inline constexpr const char* kUnitSurveyFoot = "美国测量英尺";
inline constexpr const char* kUnitInch = "英寸";
inline constexpr const char* kUnitMile = "英里";
inline constexpr const char* kXmlUnitConverted =
    "LandXML文件的长度单位是%s（%s），坐标、里程、半径和长度已按1%s=%s米换算为米。";
inline constexpr const char* kXmlOffDesign = "%s按控制数据放样偏离文件中的线形%.1f毫米（允许5毫米），无法如实导入!";
inline constexpr const char* kXmlAbsorbed =
    "第%s个线元太短，控制数据的坐标定不住其方向，已并入相邻线元（放样点位偏离文件线形不超过5毫米）。";
// kXmlTurned holds the kXmlTurnedElement of each element, joined by "；", then kXmlTurnedMore.
inline constexpr const char* kXmlTurned =
    "控制数据的坐标定不住短线元的方向：下列线元放样的切线方向偏离文件超过20秒，但中桩和两侧10米边桩都在文件线形5毫米以内。%s。";
inline constexpr const char* kXmlTurnedElement = "第%d个线元（长%.3f米）偏%.1f秒，10米边桩因此偏%.1f毫米";
inline constexpr const char* kXmlTurnedMore = "；另有%d个线元偏20～%.1f秒";
inline constexpr const char* kXmlExportUnusable = "控制数据少于两行或有里程不是数字，无法导出!";
inline constexpr const char* kXmlExportBadName = "路线名含有控制字符或不是有效的UTF-8文本，无法写入LandXML!";
inline constexpr const char* kXmlNoProfile = "路线“%s”没有设计纵断面（Profile中的ProfAlign）!";
inline constexpr const char* kXmlProfileIn = "LandXML纵断面“%s”：%s";
inline constexpr const char* kXmlProfileUnsym = "第%d个纵断面元素是非对称竖曲线（UnsymParaCurve），无法导入!";
inline constexpr const char* kXmlProfileUnknown = "第%d个纵断面元素是不支持的类型<%s>!";
inline constexpr const char* kXmlProfileMissing = "第%d个纵断面元素缺少%s或其数值无效!";
inline constexpr const char* kXmlProfileEndCurve = "第%d个纵断面元素是起点或终点，不能带竖曲线!";
inline constexpr const char* kXmlProfileTooMany = "纵断面元素超过%d个!";
inline constexpr const char* kXmlProfileUnit =
    "LandXML文件的高程单位“%s”无法识别（可用米、毫米、厘米、千米、英尺、美国测量英尺、英寸、英里），纵断面不能导入!";
inline constexpr const char* kXmlExportGradeName = "变坡点名“%s”含有控制字符或不是有效的UTF-8文本，无法写入LandXML!";
inline constexpr const char* kXmlExportFault = "控制数据中里程%s处的线元无法计算，无法导出!";
inline constexpr const char* kPointImportFilter =
    "导线点文件(*.vxp)|*.vxp|CASS 坐标文件 (*.dat)|*.dat|CSV 文件 (*.csv)|*.csv||";
inline constexpr const char* kConvertProfileIsOut = "纵断面文件不能与输入或输出文件同名：%s";
inline constexpr const char* kConvertEquationsIsOut = "断链表文件不能与输入、输出或纵断面文件同名：%s";
inline constexpr const char* kConvertKinds = "只能在LandXML（.xml）与平面定线文件（.vxa）之间转换，或把 .vxa 导出为地图（.kml、.geojson）或 IFC（.ifc）：%s → %s";
inline constexpr const char* kAlignmentFilesFilter = "平面定线文件 (*.vxa)|*.vxa|LandXML (*.xml)|*.xml||";
inline constexpr const char* kStakesFilter =
    "普通格式 (*.txt)|*.txt|CAD 格式 (*.txt)|*.txt|DXF 图形 (*.dxf)|*.dxf|CASS 坐标文件 (*.dat)|*.dat|CSV 表格 (*.csv)|*.csv||";
inline constexpr const char* kChooseAlignment = "选择路线";
inline constexpr const char* kChooseAlignmentLabel = "LandXML文件中有多条路线，请选择一条：";
inline constexpr const char* kImportBadLine = "第%d行：%s";
inline constexpr const char* kImportFieldCount = "应有%d个用逗号分隔的字段";
inline constexpr const char* kImportBadName = "点名为空、超过8个字节或含有GBK不能表示的字符";
inline constexpr const char* kImportBadNumber = "坐标不是数字";
inline constexpr const char* kImportTooWide = "坐标超出了点文件的字段宽度（X最多12位，Y最多10位）";
inline constexpr const char* kImportTooMany = "点数超过%d个";
// Measured points against the design (检核).
inline constexpr const char* kMeasuredLongName = "点名超过40个字节";
inline constexpr const char* kMeasuredBadHeight = "高程不是数字";
inline constexpr const char* kInspectTitles[] = {"点名", "桩号", "偏距", "ΔX", "ΔY", "Δ", "Δ纵向", "Δ横向",
                                                 "设计高程", "实测高程", "ΔH", "检核"};
inline constexpr const char* kInspectIn = "合格";
inline constexpr const char* kInspectOut = "超限";
inline constexpr const char* kInspectNotFound = "查找不到";
inline constexpr const char* kInspectTolerances = "限差：平面 %s，高程 %s";
inline constexpr const char* kInspectMillimetres = "%g毫米";
inline constexpr const char* kInspectNotJudged = "不检核";
inline constexpr const char* kInspectSummary = "点数 %d，合格 %d，超限 %d；Δ 最大 %s，均方根 %s；ΔH 最大 %s，均方根 %s";
inline constexpr const char* kInspectNone = "—";
inline constexpr const char* kInspectZeroHeights =
    "测量文件的高程全是0.000（未带纵断面导出的桩点即如此），视为没有测高程：高程不检核。";
inline constexpr const char* kInspectButton = "检核";
inline constexpr const char* kInspectCaption = "实测检核";
inline constexpr const char* kInspectLoad = "载入测量文件...";
inline constexpr const char* kInspectSave = "保存结果...";
inline constexpr const char* kInspectPlan = "平面图";
inline constexpr const char* kInspectPlanTolerance = "平面限差（毫米）";
inline constexpr const char* kInspectHeightTolerance = "高程限差（毫米）";
inline constexpr const char* kInspectNoFile = "请载入测量文件：CASS坐标文件（.dat）、CSV（点名,X,Y,H）或导线点文件（.vxp）。";
inline constexpr const char* kInspectFileLine = "测量文件：%s";
inline constexpr const char* kMeasuredFilter =
    "CASS 坐标文件 (*.dat)|*.dat|CSV 文件 (*.csv)|*.csv|导线点文件 (*.vxp)|*.vxp|所有文件 (*)|*||";
inline constexpr const char* kInspectRefused = "测量文件%s未能读入，没有检核任何点：\n%s";
inline constexpr const char* kInspectReportFilter = "普通格式 (*.txt)|*.txt|CSV 表格 (*.csv)|*.csv||";
inline constexpr const char* kInspectReportName = "%s检核.txt";
inline constexpr const char* kInspectNothing = "还没有检核结果，无法保存!";
}  // namespace vexaline::text

#include "FeatureTexts.h"
#include "GroundTexts.h"
#include "GridTexts.h"

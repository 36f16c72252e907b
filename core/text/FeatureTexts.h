#pragma once
// Fixed texts of the later features: the control-data check, the plan view
// and sheet, 交点法, heights and station equations. UTF-8, as in Texts.h.

namespace vexaline::text {

// The control-data check.
inline constexpr const char* kCheckTitle = "控制数据检查";
inline constexpr const char* kCheckClean = "控制数据检查无误：%d 行，闭合差都不超过 %g 毫米，折角都不超过 %g″。";
inline constexpr const char* kCheckSummary = "控制数据检查：%d 行，%zu 行有问题：第 %s 行（闭合差限 %g 毫米，折角限 %g″）。";
inline constexpr const char* kCheckTooFew = "控制数据不足两行，无法检查!";
inline constexpr const char* kCheckColumns[8] = {"行", "起点里程", "终点里程", "线型", "起点闭合差mm", "终点闭合差mm", "折角", "问题"};
inline constexpr const char* kCheckClosureStart = "第 %d 行闭合差 %.1f 毫米";
inline constexpr const char* kCheckClosureEnd = "第 %d 行闭合差 %.1f 毫米";
inline constexpr const char* kCheckKink = "第 %d 行折角 %s";
inline constexpr const char* kCheckLineClean = "检查通过";
inline constexpr const char* kCheckLineFlagged = "检查：第 %s 行有问题";
inline constexpr const char* kCheckRuleTexts[12] = {
    "第 %d 行里程不大于上一行",
    "第 %d 行线型不是直线、圆曲线、缓和曲线或终点",
    "第 %d 行终点只能在最后一行",
    "第 %d 行最后一行应为终点",
    "第 %d 行直线的半径应为∞",
    "第 %d 行圆曲线的半径不能为∞或0",
    "第 %d 行缓和曲线两端半径相同",
    "第 %d 行缓和曲线起点半径与前一线元不符",
    "第 %d 行%s不是数",
    "第 %d 行桩号不在路线的任何断链区段内（被短链跳过）",
    "第 %d 行桩号在长链内出现多次，须注明第几次，如1050.000(2)",
    "第 %d 行桩号注有长链内的出现次数，但路线没有断链表",
};
inline constexpr const char* kCheckFieldNames[6] = {"里程", "X", "Y", "半径", "线型", "X,Y"};
inline constexpr const char* kCheckSuggestion = "建议：第 %d 行%s %s 改为 %s。";
inline constexpr const char* kCheckSuggestionXY = "建议：第 %d 行 X、Y 互换（%s 改为 %s）。";
inline constexpr const char* kCheckAmbiguous = "有 %d 种单处改动都能消除全部问题，无法确定是哪一处。";
inline constexpr const char* kCheckNoSuggestion = "没有哪一处单处改动能消除全部问题。";
inline constexpr const char* kCheckSave = "保存报告";
inline constexpr const char* kCheckClose = "关闭";
inline constexpr const char* kCheckReportFilter = "文本文件 (*.txt)|*.txt||";
inline constexpr const char* kCheckReportName = "控制数据检查.txt";
inline constexpr const char* kCheckFlagMark = "*";

// Plan view and setting-out sheet.
inline constexpr const char* kPlanCaption = "平面图";
inline constexpr const char* kPlanFit = "适应窗口";
inline constexpr const char* kPlanExport = "导出...";
inline constexpr const char* kPlanExportFilter = "PNG 图片 (*.png)|*.png|SVG 图形 (*.svg)|*.svg|PDF 文档 (*.pdf)|*.pdf||";
inline constexpr const char* kPlanExportName = "平面图.png";
inline constexpr const char* kPlanReadout = "X %.3f  Y %.3f";
inline constexpr const char* kPlanReadoutStation = "  %s  %s";  // K station, offset text
inline constexpr const char* kPlanCannotRender = "无法生成图形文件：%s";
inline constexpr const char* kPlanHint = "滚轮缩放，左键拖动平移，单击反查桩号";
inline constexpr const char* kPlanStation = "测站";
inline constexpr const char* kPlanBacksight = "后视";
inline constexpr const char* kPlanLegendFlagged = "检查有误";
inline constexpr const char* kPlanLegendStale = "结果已过期";
inline constexpr const char* kSheetTitle = "线路放样表";
inline constexpr const char* kSheetFile = "定线文件：%s";
inline constexpr const char* kSheetModeCoordinates = "成果：逐桩坐标";
inline constexpr const char* kSheetModeSettingOut = "成果：放样要素";
inline constexpr const char* kSheetRange = "里程 %s 至 %s，间距 %.3f 米，偏距 %.3f 米，偏向角 %s";
inline constexpr const char* kSheetSingles = "单桩，偏距 %.3f 米，偏向角 %s";
inline constexpr const char* kSheetDate = "日期：%s";
inline constexpr const char* kSheetComputed = "计算日期：%s";  // when the rows were computed from the file named above
inline constexpr const char* kSheetDateFormat = "yyyy年M月d日";
inline constexpr const char* kSheetSetup = "测站 %s（X %.3f，Y %.3f）  后视 %s（X %.3f，Y %.3f）";
inline constexpr const char* kSheetPage = "第 %d 页 / 共 %d 页";
inline constexpr const char* kSheetCoordinateColumns[5] = {"里程(m)", "X(m)", "Y(m)", "切线方位角(度.分秒)", "说明"};
inline constexpr const char* kSheetSettingOutColumns[5] = {"里程(m)", "水平角(度.分秒)", "平距(m)", "设站点", "后视点"};
inline constexpr const char* kSheetElevationColumn = "设计高程(m)";
inline constexpr const char* kSheetChainColumn = "桩号";  // the first column on a road with station equations
inline constexpr const char* kSheetChainRange = "桩号 %s 至 %s，间距 %.3f 米，偏距 %.3f 米，偏向角 %s";
inline constexpr const char* kSheetSignLine = "计算：______________    复核：______________    日期：______________";
inline constexpr const char* kSheetNothing = "计算结果为空，没有可打印的内容!";
inline constexpr const char* kAskPrintManyPages = "放样表共 %d 页（%zu 行）。\n要排版并打印全部页面吗?";
inline constexpr const char* kSheetLayingOut = "正在排版放样表：第 %d 页 / 共 %d 页";
// The exported plan: paper, resolution and the title block.
inline constexpr const char* kPaperCaption = "导出平面图";
inline constexpr const char* kPaperSize = "纸张";
inline constexpr const char* kPaperOrientation = "方向";
inline constexpr const char* kPaperLandscape = "横向";
inline constexpr const char* kPaperPortrait = "纵向";
inline constexpr const char* kPaperDpi = "分辨率(PNG)";
inline constexpr const char* kPaperDpiSuffix = " dpi";
inline constexpr const char* kPlanScale = "比例 1:%.0f";

// Road from intersection points (交点法): the table, the construction and the curve table.
inline constexpr const char* kPiStartName = "起点";
inline constexpr const char* kPiEndName = "终点";
inline constexpr const char* kPiColumns[6] = {"交点", "X", "Y", "半径", "缓和曲线长1", "缓和曲线长2"};
inline constexpr const char* kPiCsvHeader = "交点,X,Y,半径,缓和曲线长1,缓和曲线长2";
inline constexpr const char* kPiCurveCsvHeader =
    "交点,转角,半径,缓和曲线长1,缓和曲线长2,切线长1,切线长2,曲线长,外距,ZH,HY,QZ,YH,HZ";
inline constexpr const char* kPiLeft = "左";
inline constexpr const char* kPiRight = "右";
inline constexpr const char* kPiTooFewPoints = "交点表至少要有三行：起点、交点和终点!";
inline constexpr const char* kPiNotANumber = "交点表第%d行（%s）的%s不是数字!";
inline constexpr const char* kPiEndHasCurve = "交点表第%d行（%s）是起点或终点，不能填写半径和缓和曲线长!";
inline constexpr const char* kPiRadiusMissing = "交点表第%d行（%s）没有填写半径!";
inline constexpr const char* kPiRadiusNotPositive = "交点表第%d行（%s）的半径必须大于0!";
inline constexpr const char* kPiNegativeLength = "交点表第%d行（%s）的缓和曲线长不能为负!";
inline constexpr const char* kPiSamePoint = "%s与%s的坐标相同，无法确定路线方向!";
inline constexpr const char* kPiNoDeflection = "交点%s的转角为0，无法设曲线!";
inline constexpr const char* kPiReversal = "交点%s的转角为180°，无法设曲线!";
inline constexpr const char* kPiNoRoomForArc = "交点%s的缓和曲线太长，没有圆曲线的位置（两段缓和曲线的切线角之和不能大于转角）!";
inline constexpr const char* kPiOverlap = "交点%s与%s的曲线重叠：两切线长之和比交点间距长%.3f米!";
inline constexpr const char* kPiFirstTooLong = "交点%s的切线长%.3f米大于起点到该交点的距离%.3f米!";
inline constexpr const char* kPiLastTooLong = "交点%s的切线长%.3f米大于该交点到终点的距离%.3f米!";
inline constexpr const char* kPiTransitionMeetsArc =
    "交点%s的缓和曲线正好止于交点%s的圆曲线起点，一个变换点不能同时有两个半径：请给交点%s设缓和曲线，或调整两交点的曲线!";
inline constexpr const char* kPiArcMeetsTransition =
    "交点%s的圆曲线正好止于交点%s的缓和曲线起点，曲率会从圆曲线突变到直线：请给交点%s设缓和曲线，或调整两交点的曲线!";
inline constexpr const char* kPiRowTooWide = "生成的第%d行控制数据（里程%s）超出了字段宽度，里程或坐标太大!";
inline constexpr const char* kPiBadStartStation = "起点里程必须是数字!";
inline constexpr const char* kPiStartStationTooLarge = "起点里程超出范围（绝对值须小于100000000米）!";
inline constexpr const char* kPiNotACoordinate = "交点表第%d行（%s）的%s不是测量坐标（绝对值须小于100000000米）!";
inline constexpr const char* kPiCannotCompute = "交点%s的曲线算不出有限的数值，请检查半径和缓和曲线长!";
inline constexpr const char* kPiCsvBadHeader = "交点表文件的第1行不是表头“交点,X,Y,半径,缓和曲线长1,缓和曲线长2”!";
inline constexpr const char* kPiCsvTooManyFields = "交点表文件第%d行多于6列!";
inline constexpr const char* kPiCsvBadQuote = "交点表文件第%d行的引号不配对!";
inline constexpr const char* kPiCsvTooLong = "交点表文件太大（最多%d行，每行最多%d个字节）!";
inline constexpr const char* kPiCsvNotText = "交点表文件既不是UTF-8也不是GBK文本!";
inline constexpr const char* kPiTitle = "交点法";
inline constexpr const char* kPiStartStationLabel = "起点里程：";
inline constexpr const char* kPiStartChainLabel = "起点桩号：";
inline constexpr const char* kPiOpenTable = "打开交点表";
inline constexpr const char* kPiSaveTable = "保存交点表";
inline constexpr const char* kPiInsertRow = "插入交点";
inline constexpr const char* kPiDeleteRow = "删除交点";
inline constexpr const char* kPiCompute = "计算";
inline constexpr const char* kPiSaveCurves = "保存直曲表";
inline constexpr const char* kPiTableFilter = "交点表 (*.csv)|*.csv||";
inline constexpr const char* kPiCurvesFilter = "直曲表 (*.csv)|*.csv||";
inline constexpr const char* kPiTableName = "交点表.csv";
inline constexpr const char* kPiCurvesName = "直曲表.csv";

// Heights: the vertical alignment (纵断面), cross slopes (横坡) and design elevations.
inline constexpr const char* kGradeStartName = "起点";
inline constexpr const char* kGradeEndName = "终点";
inline constexpr const char* kGradePointName = "变坡点";
inline constexpr const char* kGradeColumns[4] = {"变坡点", "桩号", "高程", "竖曲线半径"};
inline constexpr const char* kGradeCsvHeader = "变坡点,桩号,高程,竖曲线半径";
inline constexpr const char* kGradeTableName = "纵断面";
inline constexpr const char* kGradeTooFew = "纵断面至少要有两行：起点和终点!";
inline constexpr const char* kGradeTooMany = "纵断面最多%d行!";
inline constexpr const char* kGradeNotANumber = "纵断面第%d行（%s）的%s不是数字!";
inline constexpr const char* kGradeNegativeRadius = "纵断面第%d行（%s）的竖曲线半径不能为负!";
inline constexpr const char* kGradeEndHasRadius = "纵断面第%d行（%s）是起点或终点，不能填写竖曲线半径!";
inline constexpr const char* kGradeNotIncreasing = "纵断面第%d行（%s）的桩号必须大于上一行的桩号!";
inline constexpr const char* kGradeNoGrade = "纵断面第%d行（%s）与上一行之间的坡度无法计算!";
inline constexpr const char* kGradeCurvesOverlap = "变坡点%s与%s的竖曲线重叠：两切线长之和比变坡点间距长%.3f米!";
inline constexpr const char* kGradeCurveBeforeStart = "变坡点%s的竖曲线切线长%.3f米大于起点到该变坡点的距离%.3f米!";
inline constexpr const char* kGradeCurveAfterEnd = "变坡点%s的竖曲线切线长%.3f米大于该变坡点到终点的距离%.3f米!";
inline constexpr const char* kVerticalCurveCsvHeader =
    "变坡点,桩号,高程,坡度i1(%),坡度i2(%),半径,切线长T,曲线长L,外距E,凸凹,起点桩号,终点桩号";
inline constexpr const char* kCrest = "凸";
inline constexpr const char* kSag = "凹";
inline constexpr const char* kSlopeColumns[3] = {"桩号", "左侧横坡", "右侧横坡"};
inline constexpr const char* kSlopeCsvHeader = "桩号,左侧横坡,右侧横坡";
inline constexpr const char* kSlopeTableName = "横坡表";
inline constexpr const char* kSlopeTooMany = "横坡表最多%d行!";
inline constexpr const char* kSlopeNotANumber = "横坡表第%d行的%s不是数字!";
inline constexpr const char* kSlopeNotIncreasing = "横坡表第%d行的桩号必须大于上一行的桩号!";
inline constexpr const char* kSlopeTooSteep = "横坡表第%d行的%s%s%%超出了±%d%%!";
inline constexpr const char* kCsvBadHeader = "%s文件的第1行不是表头“%s”!";
inline constexpr const char* kCsvTooManyFields = "%s文件第%d行多于%d列!";
inline constexpr const char* kCsvBadQuote = "%s文件第%d行的引号不配对!";
inline constexpr const char* kCsvTooLong = "%s文件太大（最多%d行，每行最多%d个字节）!";
inline constexpr const char* kCsvNotText = "%s文件既不是UTF-8也不是GBK文本!";
inline constexpr const char* kElevationHeader = "设计高程";
inline constexpr const char* kOutsideProfile = "超出纵断面";
// The window's heights: the 纵断面 dialog and the control-data group's line.
inline constexpr const char* kProfileButton = "纵断面";
inline constexpr const char* kProfileTitle = "纵断面与横坡";
inline constexpr const char* kProfileGrades = "纵断面（变坡点）";
inline constexpr const char* kProfileSlopes = "横坡表（%，自中线向外上升为正）";
inline constexpr const char* kProfileInsertRow = "插入行";
inline constexpr const char* kProfileDeleteRow = "删除行";
inline constexpr const char* kProfileOpen = "打开...";
inline constexpr const char* kProfileSave = "保存...";
inline constexpr const char* kProfileCompute = "计算";
inline constexpr const char* kProfileCurves = "竖曲线表";
inline constexpr const char* kProfileScale = "竖向比例放大10倍";
inline constexpr const char* kGradeFilter = "纵断面 (*.vxz)|*.vxz||";
inline constexpr const char* kSlopeFilter = "横坡表 (*.vxh)|*.vxh||";
inline constexpr const char* kGradeFileName = "纵断面.vxz";
inline constexpr const char* kSlopeFileName = "横坡表.vxh";
inline constexpr const char* kHeightsLine = "纵断面：%s    横坡表：%s";
inline constexpr const char* kHeightsNone = "无";
inline constexpr const char* kHeightsChainLine = "纵断面：%s    横坡表：%s    断链表：%s";
inline constexpr const char* kCannotRemoveTable =
    "路线文件已保存，但无法删除旁边不属于它的表文件：%s\n下次打开时它会被当作本路线的表读入，请先删除它。";
inline constexpr const char* kSameFileTwice = "%s 与 %s 是同一个文件，写入一个会毁掉另一个：什么也没有写。";
inline constexpr const char* kRemovedTable = "已删除被替换的路线留在旁边的表文件：%s";
inline constexpr const char* kHeightsUnsaved = "已修改，未保存";
inline constexpr const char* kFill = "填%.3f米";
inline constexpr const char* kCut = "挖%.3f米";

// Station equations (断链).
inline constexpr const char* kChainColumns[2] = {"断链前桩号", "断链后桩号"};
inline constexpr const char* kChainCsvHeader = "断链前桩号,断链后桩号";
inline constexpr const char* kChainTableName = "断链表";
inline constexpr const char* kChainButton = "断链";
inline constexpr const char* kChainRemark = "断链";
inline constexpr const char* kChainBesideUnused =
    "注意：路线旁有断链表%s，未使用，里程按连续里程读；按桩号计算请加 --equations %s";
inline constexpr const char* kResultsFileNameChain = "%s-%s间%.3lf米偏%.3lf米桩.txt";  // the range's ends as 桩号
inline constexpr const char* kChainTooMany = "断链表最多%d行!";
// How the three texts below name their row; a LandXML file's refusals name the element instead.
inline constexpr const char* kChainRowOf = "断链表第%d行";
inline constexpr const char* kChainNotANumber = "断链表第%d行的%s“%s”不是桩号!";
inline constexpr const char* kChainOutOfOrder = "断链表第%d行的断链在上一行断链之前：断链须按路线顺序排列!";
inline constexpr const char* kChainNegativeZone = "断链表第%d行的断链前桩号%s落在上一行短链跳过的桩号内：区段长度为负（%.3f米）!";
inline constexpr const char* kChainBeforeStart = "断链表第%d行的断链在路线起点（%.3f）之前!";
inline constexpr const char* kChainAfterEnd = "断链表第%d行的断链在路线终点之后（断链处里程%.3f，终点里程%.3f）!";
inline constexpr const char* kChainNoZone = "桩号%s不在路线上（被短链跳过，或超出路线起终点）!";
inline constexpr const char* kChainAmbiguous = "桩号%s在长链内出现%d次（连续里程%s），请注明是第几次，如%s(1)!";
inline constexpr const char* kChainNoOccurrence = "桩号%s只出现%d次（连续里程%s）!";
inline constexpr const char* kChainBadStation = "“%s”不是桩号（如1050.000、K1+050.000，长链内加注次数如1050.000(2)）!";
inline constexpr const char* kChainRowStation = "控制数据第%d行：";
inline constexpr const char* kChainOccurrenceWithoutTable =
    "桩号%s注有长链内的出现次数，但路线没有断链表：请与它的断链表（.vxd）一起打开!";
inline constexpr const char* kXmlBadEquation = "第%d个断链（StaEquation）的staBack、staAhead或staInternal不是数字!";
inline constexpr const char* kXmlEquationRange = "第%d个断链（StaEquation）的staBack、staAhead或staInternal超出了桩号的范围!";
inline constexpr const char* kXmlEquationOf = "第%d个断链（StaEquation）";
inline constexpr const char* kXmlEquationInternal = "第%d个断链（StaEquation）的staInternal为%.3f，而按断链表应为%.3f!";
inline constexpr const char* kXmlChainTooWide = "桩号%s超出了控制数据里程字段的宽度（12个字节）!";
inline constexpr const char* kChainGradeRow = "纵断面第%d行：";
inline constexpr const char* kChainSlopeRow = "横坡表第%d行：";

// The cross-section template (横断面模板, .vxt) and its widening (加宽, .vxw).
inline constexpr const char* kTemplateColumns[7] = {"侧", "名称", "宽度", "横坡", "坡比", "分级高度", "平台宽度"};
inline constexpr const char* kTemplateCsvHeader = "侧,名称,宽度,横坡,坡比,分级高度,平台宽度";
inline constexpr const char* kTemplateTableName = "横断面模板";
inline constexpr const char* kTemplateLeft = "左";
inline constexpr const char* kTemplateRight = "右";
inline constexpr const char* kTemplateCrown = "路拱";
inline constexpr const char* kTemplateFill = "填方边坡";
inline constexpr const char* kTemplateCut = "挖方边坡";
inline constexpr const char* kTemplateTooMany = "横断面模板最多%d行!";
inline constexpr const char* kTemplateNoSurface = "横断面模板没有路面行（行车道、路肩等）!";
inline constexpr const char* kTemplateBadSide = "横断面模板第%d行的侧“%s”应为“左”或“右”!";
inline constexpr const char* kTemplateBadName =
    "横断面模板第%d行的名称“%s”不能用：名称不能为空，不能含逗号、引号或控制字符，GBK最多10个字节!";
inline constexpr const char* kTemplateNameTwice = "横断面模板第%d行的名称“%s”在%s侧已用过（第%d行）!";
inline constexpr const char* kTemplateNotANumber = "横断面模板第%d行的%s“%s”不是数字!";
inline constexpr const char* kTemplateOutOfRange = "横断面模板第%d行的%s“%s”超出了范围（%s）!";
inline constexpr const char* kTemplateMustBeEmpty = "横断面模板第%d行是%s行，%s应当空着!";
inline constexpr const char* kTemplateMissing = "横断面模板第%d行缺少%s!";
inline constexpr const char* kTemplateSurfaceRow = "路面";
inline constexpr const char* kTemplateSlopeRow = "边坡";
inline constexpr const char* kTemplateAfterSlope = "横断面模板第%d行是路面行，却排在%s侧的边坡（第%d行）之后：路面行须在边坡之前!";
inline constexpr const char* kTemplateHalfBerm = "横断面模板第%d行的分级高度与平台宽度须同时填写或同时空着!";
inline constexpr const char* kTemplateCrownNoSlopes =
    "横断面模板第%d行的横坡为“路拱”，要用横坡表（.vxh）：请加 --slopes!";
inline constexpr const char* kWideningColumns[3] = {"桩号", "左侧加宽", "右侧加宽"};
inline constexpr const char* kWideningCsvHeader = "桩号,左侧加宽,右侧加宽";
inline constexpr const char* kWideningTableName = "加宽表";
inline constexpr const char* kWideningTooMany = "加宽表最多%d行!";
inline constexpr const char* kWideningNotANumber = "加宽表第%d行的%s“%s”不是数字!";
inline constexpr const char* kWideningOutOfRange = "加宽表第%d行的%s“%s”超出了范围（0～%d米）!";
inline constexpr const char* kWideningNotIncreasing = "加宽表第%d行的桩号必须大于上一行的桩号!";
inline constexpr const char* kWideningNoSurface = "加宽表第%d行给%s侧加宽，但横断面模板的%s侧没有路面行!";
inline constexpr const char* kChainWideningRow = "加宽表第%d行：";
inline constexpr const char* kSectionInsideCurve =
    "桩号%s的%s%s偏距%.3f米，到了曲线内侧的曲率中心（半径%.3f米）之外：无法放样!";
inline constexpr const char* kSectionCentre = "中桩";
inline constexpr const char* kSectionColumns[7] = {"桩号", "名称", "偏距", "X坐标", "Y坐标", "设计高程", "说明"};
inline constexpr const char* kSectionTitle = "横断面桩位    路线：%s    模板：%s";
// The window's 横断面 dialog.
inline constexpr const char* kSectionButton = "横断面";
inline constexpr const char* kSectionCaption = "横断面";
inline constexpr const char* kSectionTemplateGroup = "横断面模板（ROAD.vxt）";
inline constexpr const char* kSectionWideningGroup = "加宽（ROAD.vxw）";
inline constexpr const char* kSectionFrom = "起始";
inline constexpr const char* kSectionTo = "终止";
inline constexpr const char* kSectionInterval = "间距";
inline constexpr const char* kSectionList = "列出";
inline constexpr const char* kSectionExport = "导出...";
inline constexpr const char* kSectionExportFilter =
    "横断面桩位 (*.txt)|*.txt|CSV 表格 (*.csv)|*.csv|CASS 坐标文件 (*.dat)|*.dat|DXF 图形 (*.dxf)|*.dxf||";
inline constexpr const char* kSectionExportName = "横断面桩位";
inline constexpr const char* kSectionNoTemplate = "还没有横断面模板：请在模板表中填写路面行（侧、名称、宽度、横坡）。";
inline constexpr const char* kSectionCrownNoSlopes =
    "横断面模板第%d行的横坡为“路拱”，而这条路有纵断面却没有横坡表：请在“纵断面”中填写横坡表。";
inline constexpr const char* kSectionExaggeration = "高程放大%d倍";
inline constexpr const char* kSectionNoStations = "没有桩号：请在上面填写起始、终止和间距，再点“列出”。";

// Grids (EPSG, the custom Gauss–Krüger grid), 四参数, the point files carried between grids, maps.
inline constexpr const char* kGridSyntax =
    "坐标系“%s”无法识别：应为 EPSG:代码（如 EPSG:4527）或 GK:中央子午线[,投影面高程[,东偏]]（如 GK:114.3000,50）!";
inline constexpr const char* kGridUnknown = "PROJ 的 EPSG 库中没有坐标系 %s!";
inline constexpr const char* kGridKind = "坐标系 %s（%s）不是二维的平面坐标系或经纬度坐标系!";
inline constexpr const char* kGridAxes = "坐标系 %s（%s）的坐标轴不是朝北、朝东!";
inline constexpr const char* kGridUnit = "坐标系 %s（%s）的单位是 %s：平面坐标须以米为单位，经纬度须以度为单位!";
inline constexpr const char* kGkMeridian = "坐标系 %s 的中央子午线“%s”不是 D.MMSS 格式、±180° 以内的经度!";
inline constexpr const char* kGkHeight = "坐标系 %s 的投影面高程“%s”不是 ±%g 米以内的数!";
inline constexpr const char* kGkEasting = "坐标系 %s 的东偏“%s”不是数，或超出了 ±1e8 米!";
inline constexpr const char* kGridNoParameters =
    "%s（%s）与 %s（%s）的大地基准不同，PROJ 没有两者之间的转换参数：硬算会偏差数米至数百米，不予转换!";
inline constexpr const char* kGridMapDatum =
    "坐标系 %s 的大地基准是 %s，不是 CGCS2000 或 WGS 84：在地图上会偏差数十米，请先换算到 CGCS2000 的坐标系!";
inline constexpr const char* kGridFailed = "PROJ 无法在 %s 与 %s 之间换算!";
inline constexpr const char* kGridLatitude = "纬度超出了 ±90°";
inline constexpr const char* kGridLongitude = "经度超出了 ±180°";
inline constexpr const char* kGridCannotTransform = "坐标无法换算（超出了坐标系的范围）";
inline constexpr const char* kGridBadAngle = "经纬度不是 %s";
inline constexpr const char* kGridDms = "D.MMSS 格式的度分秒";
inline constexpr const char* kGridDegrees = "十进制的度";
inline constexpr const char* kFourColumns[2] = {"参数", "值"};
inline constexpr const char* kFourCsvHeader = "参数,值";
inline constexpr const char* kFourTableName = "四参数";
inline constexpr const char* kFourNames[4] = {"ΔX", "ΔY", "旋转角", "尺度"};
inline constexpr const char* kFourUnknownRow = "四参数文件第%d行的参数“%s”应为 ΔX、ΔY、旋转角或尺度!";
inline constexpr const char* kFourTwice = "四参数文件第%d行的%s在前面已经给过!";
inline constexpr const char* kFourNotANumber = "四参数文件第%d行的%s“%s”不是%s!";
inline constexpr const char* kFourNumber = "数字";
inline constexpr const char* kFourAngle = "D.MMSS 格式的角度";
inline constexpr const char* kFourMissing = "四参数文件缺少%s!";
inline constexpr const char* kFourNotFinite = "四参数不是有限的数，或 ΔX、ΔY 超出了 ±1e8 米!";
inline constexpr const char* kFourScale =
    "尺度 %.9f（%+.1f ppm）超出了 0.99～1.01：公共点可能配错了，或某一坐标系的 X、Y 颠倒了!";
inline constexpr const char* kFourTooFew = "公共点只有 %zu 个：求四参数至少要 2 个!";
inline constexpr const char* kFourTooMany = "公共点多于 %zu 个!";
inline constexpr const char* kFourCoincident = "公共点 %s 与 %s 在同一位置（相距不到 1 毫米）：无法定出旋转和尺度!";
inline constexpr const char* kCommonColumns[5] = {"点名", "X", "Y", "X'", "Y'"};
inline constexpr const char* kCommonCsvHeader = "点名,X,Y,X',Y'";
inline constexpr const char* kCommonTableName = "公共点表";
inline constexpr const char* kCommonNoName = "公共点表第%d行没有点名!";
inline constexpr const char* kCommonNotANumber = "公共点表第%d行（%s）的%s“%s”不是坐标!";
inline constexpr const char* kMapCentreline = "中线";
inline constexpr const char* kMapChangePoints = "变化点";
inline constexpr const char* kMapPoints = "点";
inline constexpr const char* kMapDescription = "设计坐标系 %s 换算到其大地基准的经纬度（CGCS2000 与 WGS 84 相差几厘米）";
inline constexpr const char* kMapCannotCarry = "%s 无法换算为经纬度（超出了坐标系的范围）!";
inline constexpr const char* kFourTitle = "四参数（%zu 个公共点）";
inline constexpr const char* kFourDx = "ΔX = %.6f 米";
inline constexpr const char* kFourDy = "ΔY = %.6f 米";
inline constexpr const char* kFourRotation = "旋转角 α = %s（%.5f″）";
inline constexpr const char* kFourScaleLine = "尺度 K = %s（%+.3f ppm）";
inline constexpr const char* kFourRms = "单位权中误差 = %.4f 米";
inline constexpr const char* kFourNoRms = "只有 2 个公共点：没有多余观测，没有中误差";
inline constexpr const char* kFourResidualHead = "点名            vX(m)     vY(m)";
inline constexpr const char* kFourOutliers = "注意：点 %s 的残差超过中误差的 3 倍，可能测错或配错!";
inline constexpr const char* kTransformKinds = "%s 与 %s 应为同一种点文件（.dat、.csv 或 .vxp），格式原样保留!";
inline constexpr const char* kDegreesNoLatLon = "--degrees 只用于经纬度坐标系（如 EPSG:4490）!";
inline constexpr const char* kPointsNoLatLon = "导线点文件（.vxp）的字段放不下经纬度：请用 .dat 或 .csv 文件!";
inline constexpr const char* kIfcElementFault = "控制数据第%d行（里程%s）的线元无法计算，无法导出IFC!";
inline constexpr const char* kIfcBadName = "路线名不是有效的UTF-8文本，无法写入IFC!";
inline constexpr const char* kIfcGeographic = "%s 是经纬度坐标系：IFC 的坐标系须是以米为单位的投影坐标系!";
inline constexpr const char* kIfcNoProfileOverlap = "纵断面（%.3f～%.3f）与路线（%.3f～%.3f）没有重叠，无法导出IFC!";

}  // namespace vexaline::text

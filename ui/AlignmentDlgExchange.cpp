#include <QFileInfo>
#include <QInputDialog>
#include <QPushButton>
#include <ctime>

#include "core/files/FileType.h"
#include "core/files/LandXml.h"
#include "core/files/StakeExport.h"
#include "core/files/TextFile.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/AlignmentDlg.h"
#include "ui/ResultListModel.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/GbkList.h"
#include "ui/toolkit/MessageBox.h"

// Exchange with other tools: LandXML in and out, stakes out for CAD and
// field controllers.

using namespace vexaline;

// The rows come in unsaved; the alignment file beside the LandXML file (same
// name, .vxa) is written only when the user saves, as for typed rows. A
// file's station equations come with its rows (which are then 桩号) and are
// written with them, ROAD.vxd beside ROAD.vxa, all or nothing.
void CAlignmentDlg::ImportLandXmlFile(const platform::FileChoice& choice) {
    std::string bytes;
    if (ReadWholeFile(choice.strPath, bytes) != ReadStatus::Ok) {
        platform::Warn(this, Format(text::kCannotRead, platform::PathForDisplay(choice.strPath).c_str()).c_str());
        return;
    }
    LandXmlImport in = ImportLandXml(bytes, "");
    if (in.status == ImportStatus::Refused && in.names.size() > 1) {
        QStringList names;
        for (const std::string& n : in.names) names << QString::fromStdString(n);
        bool ok = false;
        const QString name = QInputDialog::getItem(this, QString::fromUtf8(text::kChooseAlignment),
                                                   QString::fromUtf8(text::kChooseAlignmentLabel), names, 0, false, &ok);
        if (!ok) return;
        in = ImportLandXml(bytes, name.toStdString());
    }
    if (in.status != ImportStatus::Ok) {
        platform::Warn(this, in.strMessage.c_str());
        return;
    }
    const std::string path = WithExtension(choice.strPath, "vxa"), name = WithExtension(choice.strName, "vxa");
    if (QFileInfo::exists(QFile::decodeName(path.c_str())) &&
        !platform::AskYesNo(this, Format(text::kAskReplaceFile, name.c_str()).c_str()))
        return;
    PutNewRoad(path, name, in.rows, in.equations);
    // What the rows changed from the file (feet converted, elements merged).
    if (!in.strNotice.empty()) platform::Notify(this, in.strNotice.c_str());
}

bool CAlignmentDlg::ExportLandXmlFile(const platform::FileChoice& choice) {
    const std::string name = QFileInfo(QString::fromStdString(GbkToUtf8(m_strFileName))).completeBaseName().toStdString();
    const LandXmlExport out = ExportLandXml(Road(), name, std::time(nullptr));
    if (!out.strMessage.empty()) {
        platform::Warn(this, out.strMessage.c_str());
        return false;
    }
    if (!WriteFileAtomically(choice.strPath, out.bytes)) {
        platform::Warn(this, Format(text::kCannotWrite, platform::PathForDisplay(choice.strPath).c_str()).c_str());
        return false;
    }
    return true;
}

// Types 3 to 5 of the results' save dialog: DXF, CASS .dat, CSV. The DXF
// draws the road the stakes were computed from.
bool CAlignmentDlg::ExportStakesFile(const platform::FileChoice& choice) {
    static const StakeFormat kFormats[] = {StakeFormat::Dxf, StakeFormat::CassDat, StakeFormat::Csv};
    if (!WriteStakes(choice.strPath, kFormats[choice.nType - 3], Results(), ResultsRoad())) {
        platform::Warn(this, Format(text::kCannotWrite, platform::PathForDisplay(choice.strPath).c_str()).c_str());
        return false;
    }
    return true;
}

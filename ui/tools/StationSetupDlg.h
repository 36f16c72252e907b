#pragma once
#include <QDialog>
#include <optional>
#include <string>

#include "core/files/PointImport.h"

class QLineEdit;
class QPushButton;
namespace vexaline::platform {
class GbkListView;
struct FileChoice;
}

// "设置测站": picks the instrument station and the backsight, by name and
// X, Y, from a traverse point file, and adds points to it or deletes them.
// The caller hands in its six values and, after OK, reads the six members
// of the same names back; after cancel it keeps its own. The point list and
// its file can be handed on to the next dialog (Kept, Restore), so that
// what was typed or imported is there when it opens again.
class CStationSetupDlg : public QDialog {
    Q_OBJECT
public:
    CStationSetupDlg(const std::string& strStationName, double dStationX, double dStationY,
                     const std::string& strBacksightName, double dBacksightX, double dBacksightY,
                     QWidget* parent = nullptr);

    std::string m_strPointFilePath;  // full path, file system encoding; empty until Browse
    vexaline::platform::GbkListView* m_listPoints;
    std::string m_strBacksightName;  // GBK, at most 8 bytes
    double m_dBacksightX = 0;
    double m_dBacksightY = 0;
    std::string m_strStationName;  // GBK, at most 8 bytes
    double m_dStationX = 0;
    double m_dStationY = 0;
    std::string m_strPointSel;  // text of the selected point line
    std::string m_strPointFile;  // file name without folder, GBK

    struct Points {
        std::vector<std::string> lines;  // the list, header first
        std::string strFilePath, strFileName;
        bool bChanged = false;  // points added, imported or deleted since the file was read or written
    };
    Points Kept() const;
    void Restore(const Points& points);

private:
    bool DoDataExchange(bool read);
    // Writes the members to the controls and selects line selection (-1: none).
    void Refresh(int selection);
    void CopyPoint(std::string& name, double& x, double& y);
    static std::optional<vexaline::PointFormat> ImportFormat(const vexaline::platform::FileChoice& choice);
    void ImportPointFile(const vexaline::platform::FileChoice& choice, vexaline::PointFormat format);

    void OnBrowse();
    void OnAddPoint();
    void OnSetStation();
    void OnSetBacksight();
    void OnDeletePoint();
    void OnOK();

    QLineEdit* m_editStationName;
    QLineEdit* m_editStationX;
    QLineEdit* m_editStationY;
    QLineEdit* m_editBacksightName;
    QLineEdit* m_editBacksightX;
    QLineEdit* m_editBacksightY;
    QLineEdit* m_editPointFile;
    bool m_bPointsChanged = false;
};

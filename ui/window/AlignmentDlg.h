#pragma once
#include <QDialog>
#include <QIcon>

#include "ui/document/RoadDocument.h"

class QLayout;
class QToolButton;
class ControlPanel;
class LookupPanel;
class ResultsPanel;

// The main window: the open road (the document) shown in three panels, the
// control data (ControlPanel), the results (ResultsPanel) and the lookup
// (LookupPanel), beside the help panel. Each control's objectName is its
// identifier; the handlers below are the panels', kept here by their names.
class CAlignmentDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAlignmentDlg(QWidget* parent = nullptr);

    RoadDocument& Document() { return m_doc; }
    ControlPanel* Control() const { return m_control; }
    ResultsPanel* ResultsPart() const { return m_results; }
    LookupPanel* Lookup() const { return m_lookup; }

    // The panels' members to their controls (false) or back (true), in the
    // window's order. A number that does not parse stops the read there with
    // the toolkit's request and the handler goes on; false only when a text
    // could not be stored (not GBK), and the handler must then stop, since
    // its members no longer say what is shown. allRead (when given) tells
    // whether every field was read, numbers included.
    bool UpdateData(bool read, bool* allRead = nullptr);

public slots:
    void OnOK();  // "打开/创建"
    void OnOpenRecent(const QString& path);  // a road of the 最近 menu (2013)
    void OnSaveControl();
    void OnSaveControlAs();
    void OnAddModify();
    void OnSelchangeControlList();
    void OnDeleteControl();
    void OnCompute();
    void OnSaveResults();
    void OnAddStake();
    void OnReverseLookup();
    void OnModeCoordinates();
    void OnModeSettingOut();
    void OnClose();  // the close button and Escape: the three questions
    void OnAbout();
    void OnCheckControl();  // "检查"
    void OnPlanView();      // "平面图": the plan view beside the window, made once
    void OnPrintSheet();    // "打印"
    void OnPiEntry();       // "交点法"
    void OnProfile();       // "纵断面"
    void OnInspect();       // "检核": beside the window, following its road
    void OnChain();         // "断链"
    void OnSection();       // "横断面": beside the window, following its road
    void OnGrid();          // "坐标转换": beside the window, on its road's grid
    void OnPasteControl();
    void OnCopyControl();
    void OnUndoControl();
    void OnRedoControl();

    void accept() override;  // the OK command opens a file, it never ends the window
    void reject() override;  // Escape and the close button go through OnClose

private:
    void WireTabOrder();
    // The desk (AlignmentDlgDesk.cpp): the help panel and its toggle (2014);
    // the size the window opens at, the help panel shown only where the
    // screen has room for it; the title naming the open file.
    QLayout* CreateHelpPanel();
    void SizeForScreen();
    void ShowTitle();

    RoadDocument m_doc;
    bool m_bBusy = false;
    QIcon m_hIcon;
    ControlPanel* m_control;
    ResultsPanel* m_results;
    LookupPanel* m_lookup;
    QToolButton* m_btnHelp;  // 2014
};

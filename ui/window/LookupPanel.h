#pragma once
#include <QFrame>
#include <string>

#include "core/geometry/PlanePoint.h"
#include "ui/window/Panel.h"

class QLineEdit;
class QPushButton;
namespace vexaline::platform {
class FieldExchange;
}

// The reverse lookup, in a frame without caption: X, Y in; station, offset
// and, with a vertical alignment, the design elevation out. Also holds the
// buttons of the tools beside the road: 检核 (2007), 横断面 (2009) and
// 坐标转换 (2015).
class LookupPanel : public QFrame {
    Q_OBJECT
public:
    explicit LookupPanel(PanelShared shared, QWidget* parent = nullptr);

    void Exchange(vexaline::platform::FieldExchange& dx);
    double m_dLookupX = 0;              // 1052
    double m_dLookupY = 0;              // 1053
    std::string m_strLookupOffset;      // 1055
    std::string m_strLookupStation;     // 1054
    std::string m_strLookupElevation;   // 2056, empty without a vertical alignment or outside it
    QPushButton* m_btnInspect;          // 2007
    QPushButton* m_btnSection;          // 2009
    QPushButton* m_btnGrid;             // 2015

    void OnReverseLookup();
    // A point given elsewhere (a click on the plan) typed in and looked up.
    void LookUp(vexaline::CPlanePoint where);

private:
    PanelShared m_shared;
    QLineEdit* m_editLookupX;
    QLineEdit* m_editLookupY;
    QLineEdit* m_editLookupStation;
    QLineEdit* m_editLookupOffset;
    QLineEdit* m_editLookupElevation;
};

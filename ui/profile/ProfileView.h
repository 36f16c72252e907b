#pragma once
#include <QWidget>
#include <optional>

#include "core/road/Profile.h"

// The drawing of a vertical alignment: the grade lines between the grade
// points (thin, dashed), the design line with its vertical curves (solid),
// and at each point its name, station, elevation and the grade leaving it.
// Heights are drawn ten times the scale of stations, as the drawing states.
class CProfileView : public QWidget {
    Q_OBJECT
public:
    static constexpr double kExaggeration = 10;
    explicit CProfileView(QWidget* parent = nullptr);

    // The profile to draw, its stations labelled as 桩号 on the station
    // equations (none: as they are); none: an empty drawing.
    void SetProfile(std::optional<vexaline::Profile> profile, vexaline::Chainage chain = vexaline::Chainage());
    const std::optional<vexaline::Profile>& Shown() const { return profile_; }
    // The label drawn at grade point k of the profile shown: name, station, elevation.
    QString Label(std::size_t k) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<vexaline::Profile> profile_;
    vexaline::Chainage chain_;
};

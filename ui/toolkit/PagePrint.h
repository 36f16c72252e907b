#pragma once
#include <QPicture>
#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <vector>

class QWidget;

namespace vexaline::platform {

// Pages recorded as pictures, each pageSize (the pictures' units) large,
// shown in the print preview on paper of the size and turn given; to a
// printer, or to a PDF file written whole or not at all (a failure told to
// owner). Each page is scaled to fit its sheet.
void PreviewPages(const std::vector<QPicture>& pages, QSizeF pageSize, QPageSize paper, bool landscape,
                  const QString& docName, QWidget* owner);

}  // namespace vexaline::platform

#include "ui/toolkit/FieldExchange.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <charconv>
#include <cmath>
#include <type_traits>

#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/toolkit/GbkList.h"
#include "ui/toolkit/MessageBox.h"

namespace vexaline::platform {
namespace {

QString Decode(const std::string& gbk) { return QString::fromStdString(GbkToUtf8(gbk)); }

// The number a field shows: blanks around it allowed, nothing else. The C
// library's strtod would follow the process locale; from_chars never does.
template <typename T>
bool Parse(const QString& shown, T& value) {
    std::string text = shown.trimmed().toStdString();
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+' && end - begin > 1 && begin[1] != '-' && begin[1] != '+') ++begin;
    T v{};
    std::from_chars_result r;
    if constexpr (std::is_floating_point_v<T>)
        r = std::from_chars(begin, end, v, std::chars_format::general);
    else
        r = std::from_chars(begin, end, v);
    if (begin == end || r.ec != std::errc() || r.ptr != end) return false;
    if constexpr (std::is_floating_point_v<T>)
        if (!std::isfinite(v)) return false;  // "inf", "nan"
    value = v;
    return true;
}

QString ShowDouble(double value) {
    // printf's %.15g, independent of the process locale.
    char buffer[32];
    std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return QString::fromLatin1(buffer, static_cast<int>(r.ptr - buffer));
}

}  // namespace

bool FieldExchange::Fail(QWidget* field, const char* message) {
    ok_ = false;
    Warn(owner_, message);
    field->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
    return false;
}

void FieldExchange::Text(QLineEdit* edit, std::string& member, int maxBytes) {
    if (!ok_) return;
    if (!read_) {
        edit->setText(Decode(member));
        return;
    }
    std::string gbk;
    if (!Utf8ToGbk(edit->text().toStdString(), gbk)) {
        textRefused_ = true;
        Fail(edit, text::kNotGbk);
        return;
    }
    if (maxBytes > 0 && gbk.size() > static_cast<std::size_t>(maxBytes)) {
        textRefused_ = true;
        Fail(edit, Format(text::kFieldTooLong, "", maxBytes).c_str());
        return;
    }
    member = gbk;
}

void FieldExchange::Integer(QLineEdit* edit, int& member) {
    if (!ok_) return;
    if (!read_) edit->setText(QString::number(member));
    else if (!Parse(edit->text(), member)) Fail(edit, text::kEnterInteger);
}

void FieldExchange::Double(QLineEdit* edit, double& member) {
    if (!ok_) return;
    if (!read_) edit->setText(ShowDouble(member));
    else if (!Parse(edit->text(), member)) Fail(edit, text::kEnterNumber);
}

void FieldExchange::Combo(QComboBox* combo, std::string& member) {
    if (!ok_) return;
    if (read_) {
        std::string gbk;
        if (!Utf8ToGbk(combo->currentText().toStdString(), gbk)) {
            textRefused_ = true;
            Fail(combo, text::kNotGbk);
            return;
        }
        member = gbk;
        return;
    }
    const QString shown = Decode(member);
    if (shown.isEmpty()) {
        // Nothing chosen: an editable box shows nothing, a drop-down list
        // cannot and shows its first entry.
        if (combo->isEditable()) {
            combo->setCurrentIndex(-1);
            combo->setEditText(QString());
        } else if (combo->count() > 0) {
            combo->setCurrentIndex(0);
        }
        return;
    }
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i).startsWith(shown)) {
            combo->setCurrentIndex(i);
            if (combo->isEditable()) combo->setEditText(combo->itemText(i));
            return;
        }
    }
    if (combo->isEditable()) {
        combo->setCurrentIndex(-1);
        combo->setEditText(shown);
    }
}

void FieldExchange::ListSelection(GbkListView* list, std::string& member) {
    if (!ok_) return;
    const GbkListModel* model = list->Model();
    const int selected = list->Selection();
    if (read_) {
        member = selected >= 0 ? model->Line(selected) : std::string();
        return;
    }
    auto startsWith = [&member](const std::string& line) { return line.compare(0, member.size(), member) == 0; };
    if (member.empty()) {
        list->Select(-1);
        return;
    }
    if (selected >= 0 && startsWith(model->Line(selected))) return;
    for (int i = 0; i < model->Count(); ++i) {
        if (startsWith(model->Line(i))) {
            list->Select(i);
            return;
        }
    }
}

void FieldExchange::Radio(QRadioButton* const* buttons, int count, int& member) {
    if (!ok_) return;
    if (read_) {
        member = -1;
        for (int i = 0; i < count; ++i)
            if (buttons[i]->isChecked()) member = i;
        return;
    }
    for (int i = 0; i < count; ++i) {
        // An index outside the group leaves every button unchecked.
        buttons[i]->setAutoExclusive(false);
        buttons[i]->setChecked(i == member);
        buttons[i]->setAutoExclusive(true);
    }
}

}  // namespace vexaline::platform

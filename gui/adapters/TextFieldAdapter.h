#pragma once

#include "gui/adapters/WidgetAdapter.h"

namespace kelpa::gui {

class TextFieldAdapter : public WidgetAdapter {
    Q_OBJECT
    Q_PROPERTY(QString text READ text NOTIFY changed)
    Q_PROPERTY(QString placeholder READ placeholder NOTIFY changed)
    Q_PROPERTY(bool secure READ isSecure NOTIFY changed)
    Q_PROPERTY(bool editing READ isEditing NOTIFY changed)

public:
    using WidgetAdapter::WidgetAdapter;
    QString text() const;
    QString placeholder() const;
    bool isSecure() const;
    bool isEditing() const;

    // A person's typing: the field starts editing, then holds the text.
    Q_INVOKABLE bool setText(const QString& text);
    // A tap into the field, and the field given up (focus moved on, editing ended elsewhere).
    Q_INVOKABLE bool beginEditing();
    Q_INVOKABLE void endEditing();
};

}  // namespace kelpa::gui

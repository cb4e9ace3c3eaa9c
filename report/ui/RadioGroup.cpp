#include "report/ui/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QStringList>
#include <QVBoxLayout>

RadioGroup::RadioGroup(const QString& name, const QString& caption, const QStringList& items,
                       QWidget* parent)
    : QGroupBox(caption, parent), m_group(new QButtonGroup(this)) {
    setObjectName(name);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 4, 8, 4);
    column->setSpacing(2);
    for (const QString& text : items) {
        auto* button = new QRadioButton(text, this);
        m_group->addButton(button, static_cast<int>(m_items.size()));
        m_items << button;
        column->addWidget(button);
    }
    column->addStretch(1);
}

int RadioGroup::itemIndex() const {
    return m_group->checkedId();
}

void RadioGroup::setItemIndex(int index) {
    if (QRadioButton* chosen = item(index)) {
        chosen->setChecked(true);
        return;
    }
    // An exclusive group never lets its last checked item go by itself.
    m_group->setExclusive(false);
    for (QRadioButton* button : m_items)
        button->setChecked(false);
    m_group->setExclusive(true);
}

#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

// A captioned group of radio items of which at most one is chosen, read and set by its
// index (-1: none), as the print dialogs keep their choices.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& name, const QString& caption, const QStringList& items,
               QWidget* parent);

    int itemIndex() const;
    void setItemIndex(int index);
    int count() const { return static_cast<int>(m_items.size()); }
    QRadioButton* item(int index) const { return m_items.value(index); }

private:
    QButtonGroup* m_group;
    QList<QRadioButton*> m_items;
};

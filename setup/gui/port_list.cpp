#include "setup/gui/port_list.h"

#include "core/port_name.h"
#include "setup/operations/parameter_vocabulary.h"

#include <QComboBox>
#include <QStyledItemDelegate>

namespace {

constexpr int kBesideRole = Qt::UserRole + 1;

// Draws an entry of the popup with its system name after it; the chosen text stays the port text.
class BesideTextDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString beside = index.data(kBesideRole).toString();
        if (!beside.isEmpty())
            option->text += QStringLiteral("    ") + beside;
    }
};

} // namespace

QList<PortListEntry> portListEntries(const QList<QPair<QString, QString>>& systemPorts)
{
    QList<PortListEntry> entries;
    for (int n = 1; n <= kComPortCount; ++n)
        entries.append({QStringLiteral("COM%1").arg(n), {}, {}});
    for (const auto& [name, description] : systemPorts) {
        if (const std::optional<int> com = comPortOpening(name, kComPortCount)) {
            entries[*com - 1].beside = name;
            entries[*com - 1].tooltip = description;
        } else {
            entries.append({name, {}, description});
        }
    }
    entries.append({kSimulatedPortName, {}, QStringLiteral("simulated VQ71xx display")});
    return entries;
}

void fillPortList(QComboBox* list, const QList<PortListEntry>& entries)
{
    if (!dynamic_cast<BesideTextDelegate*>(list->itemDelegate()))
        list->setItemDelegate(new BesideTextDelegate(list));
    list->clear();
    for (const PortListEntry& entry : entries) {
        list->addItem(entry.text);
        list->setItemData(list->count() - 1, entry.beside, kBesideRole);
        if (!entry.tooltip.isEmpty())
            list->setItemData(list->count() - 1, entry.tooltip, Qt::ToolTipRole);
    }
}

void fillLineLists(QComboBox* rates, QComboBox* formats)
{
    for (const QString& rate : baudRateItems())
        rates->addItem(rate, rate.toInt());
    const QString atDefaultRate = QString::number(LineSettings{}.baud) + QLatin1Char(',');
    for (const QString& format : comFormatItems())
        formats->addItem(format, QVariant::fromValue(LineSettings::parse(atDefaultRate + format).value()));
}

void showLine(QComboBox* rates, QComboBox* formats, LineSettings line)
{
    rates->setCurrentIndex(rates->findData(line.baud));
    line.baud = LineSettings{}.baud;
    formats->setCurrentIndex(formats->findData(QVariant::fromValue(line)));
}

LineSettings shownLine(const QComboBox* rates, const QComboBox* formats)
{
    LineSettings line = formats->currentData().value<LineSettings>();
    line.baud = rates->currentData().toInt();
    return line;
}

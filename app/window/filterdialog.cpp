#include "filterdialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace Terminplaner {

FilterDialog::FilterDialog(const QVector<Participant> &participants, const QList<int> &chosen,
                           QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTeilnehmer"));
    setWindowTitle(tr("Teilnehmer auswählen"));

    auto *intro = new QLabel(tr("Termine dieser Teilnehmer werden im Kalender und in der "
                                "Gantt-Ansicht angezeigt:"),
                             this);
    intro->setWordWrap(true);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstTeilnehmer"));
    for (const Participant &p : participants) {
        auto *item = new QListWidgetItem(p.role.isEmpty() ? p.name : tr("%1 (%2)").arg(p.name, p.role), m_list);
        item->setData(Qt::UserRole, p.id);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    }
    setChosen(chosen);

    auto *all = new QPushButton(tr("&Alle"), this);
    all->setObjectName(QStringLiteral("cmdAlle"));
    auto *none = new QPushButton(tr("&Keine"), this);
    none->setObjectName(QStringLiteral("cmdKeine"));
    connect(all, &QPushButton::clicked, this, [this] { setAll(true); });
    connect(none, &QPushButton::clicked, this, [this] { setAll(false); });
    auto *quick = new QHBoxLayout;
    quick->addWidget(all);
    quick->addWidget(none);
    quick->addStretch();

    m_error = new QLabel(this);
    m_error->setObjectName(QStringLiteral("lblFehler"));
    m_error->setStyleSheet(QStringLiteral("color: #b00020;"));
    m_error->hide();

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("Übernehmen"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(tr("Abbrechen"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &FilterDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FilterDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_list);
    layout->addLayout(quick);
    layout->addWidget(m_error);
    layout->addWidget(buttons);
    resize(360, 380);
}

QList<int> FilterDialog::chosen() const
{
    QList<int> ids;
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->checkState() == Qt::Checked)
            ids.append(m_list->item(i)->data(Qt::UserRole).toInt());
    return ids;
}

void FilterDialog::setChosen(const QList<int> &ids)
{
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem *item = m_list->item(i);
        item->setCheckState(ids.contains(item->data(Qt::UserRole).toInt()) ? Qt::Checked : Qt::Unchecked);
    }
}

void FilterDialog::setAll(bool checked)
{
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void FilterDialog::accept()
{
    if (chosen().isEmpty()) {
        m_error->setText(tr("Bitte wählen Sie mindestens einen Teilnehmer."));
        m_error->show();
        return;
    }
    QDialog::accept();
}

} // namespace Terminplaner

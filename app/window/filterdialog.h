#ifndef TERMINPLANER_FILTERDIALOG_H
#define TERMINPLANER_FILTERDIALOG_H

#include "database.h"

#include <QDialog>

class QLabel;
class QListWidget;

namespace Terminplaner {

// Chooses the participants whose appointments both views show.
class FilterDialog : public QDialog
{
    Q_OBJECT
public:
    FilterDialog(const QVector<Participant> &participants, const QList<int> &chosen,
                 QWidget *parent = nullptr);

    QList<int> chosen() const;
    void setChosen(const QList<int> &ids);

public Q_SLOTS:
    void accept() override;

private:
    void setAll(bool checked);

    QListWidget *m_list;
    QLabel *m_error;
};

} // namespace Terminplaner

#endif

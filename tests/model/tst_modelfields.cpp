// Where a QML host's model keeps the fields: a ListModel by its role names, any other model by
// columns, and what the host names in `fields` on top; what cannot be read is said in German.
#include "model/modelfields.h"
#include "support/testmain.h"

#include <QStandardItemModel>
#include <QTest>

using namespace Dayplex;

Q_DECLARE_METATYPE(Dayplex::ModelField)

namespace {

// A model with one column whose roles carry the given names, as a QML ListModel has.
class NamedRoles : public QStandardItemModel
{
public:
    explicit NamedRoles(const QStringList &names) : QStandardItemModel(1, 1)
    {
        for (int i = 0; i < names.size(); ++i)
            m_names.insert(Qt::UserRole + i, names.at(i).toUtf8());
    }
    QHash<int, QByteArray> roleNames() const override { return m_names; }

private:
    QHash<int, QByteArray> m_names;
};

} // namespace

class tst_ModelFields : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void places_data();
    void places();
};

void tst_ModelFields::places_data()
{
    QTest::addColumn<QStringList>("roleNames"); // empty: a table of columns
    QTest::addColumn<QVariantMap>("fields");
    QTest::addColumn<ModelField>("start");
    QTest::addColumn<ModelField>("participant");
    QTest::addColumn<bool>("readOnlyByFlags");
    QTest::addColumn<int>("problems");
    const int user = Qt::UserRole;
    QTest::newRow("a table keeps the columns") << QStringList() << QVariantMap()
        << ModelField{2, Qt::EditRole} << ModelField{7, Qt::EditRole} << true << 0;
    QTest::newRow("a list model by its role names") << QStringList{"key", "subject", "start", "end"}
        << QVariantMap() << ModelField{0, user + 2} << ModelField{-1, Qt::EditRole} << false << 0;
    QTest::newRow("a list model without a key but with a start") << QStringList{"start", "participant"}
        << QVariantMap() << ModelField{0, user} << ModelField{0, user + 1} << false << 0;
    QTest::newRow("a field by another role name") << QStringList{"key", "begin"}
        << QVariantMap{{"start", "begin"}} << ModelField{0, user + 1} << ModelField{-1, Qt::EditRole} << false << 0;
    QTest::newRow("a field by column") << QStringList()
        << QVariantMap{{"start", 5}, {"participant", 0}} << ModelField{5, Qt::EditRole}
        << ModelField{0, Qt::EditRole} << true << 0;
    QTest::newRow("column and role number") << QStringList()
        << QVariantMap{{"start", QVariantMap{{"column", 3}, {"role", int(Qt::DisplayRole)}}}}
        << ModelField{3, Qt::DisplayRole} << ModelField{7, Qt::EditRole} << true << 0;
    QTest::newRow("column and role name") << QStringList{"key", "when"}
        << QVariantMap{{"start", QVariantMap{{"column", 1}, {"role", "when"}}}}
        << ModelField{1, user + 1} << ModelField{-1, Qt::EditRole} << false << 0;
    QTest::newRow("an unknown role and an unknown field change nothing")
        << QStringList{"key", "start"} << QVariantMap{{"start", "begin"}, {"colour", 3}}
        << ModelField{0, user + 1} << ModelField{-1, Qt::EditRole} << false << 2;
}

// A ListModel read by columns (nothing shown), a read-only ListModel (nothing moves), or a
// field the host named that is silently ignored.
void tst_ModelFields::places()
{
    QFETCH(QStringList, roleNames);
    QFETCH(QVariantMap, fields);
    QFETCH(ModelField, start);
    QFETCH(ModelField, participant);
    QFETCH(bool, readOnlyByFlags);
    QFETCH(int, problems);
    std::unique_ptr<QStandardItemModel> model;
    if (roleNames.isEmpty())
        model = std::make_unique<QStandardItemModel>(1, 9);
    else
        model = std::make_unique<NamedRoles>(roleNames);
    QStringList said;
    const AppointmentRoles roles = appointmentRolesFor(*model, fields, &said);
    QCOMPARE(roles.start.column, start.column);
    QCOMPARE(roles.start.role, start.role);
    QCOMPARE(roles.participant.column, participant.column);
    QCOMPARE(roles.participant.role, participant.role);
    QCOMPARE(roles.readOnlyByFlags, readOnlyByFlags);
    QCOMPARE(said.size(), problems);
    for (const QString &problem : said)
        QVERIFY2(problem.startsWith(QStringLiteral("Das Feld")), qPrintable(problem));
}

DAYPLEX_TEST_MAIN(tst_ModelFields)
#include "tst_modelfields.moc"

#ifndef DAYPLEX_CCONTAINER_H
#define DAYPLEX_CCONTAINER_H

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace Dayplex {

// Key/value store behind every options and layout string. Keys are matched without regard to
// letter case and keep the spelling they were first written with; values keep their kind.
//
// String form, version 1: the line "cContainer 1", then one line "<key>:<kind>=<value>" per key
// in insertion order, every line ended by "\n". <kind> is b (Boolean, -1 or 0), i (Integer),
// l (Long), f (Double), d (Date; doubles as shortest round-trip text with '.') or s (Text).
// Text carries its length in UTF-16 units after the letter, then the raw text ("k:s3=a\nb\n"),
// so nothing is escaped and container strings nest unchanged as text values.
class cContainer
{
public:
    enum class Kind { Boolean, Integer, Long, Double, Date, Text };

    // The string form: every key with its value and kind, in the order the keys were added.
    QString ContainerString() const;
    // Merges a container string: its keys are added or overwritten with value and kind, all
    // other keys keep theirs. An empty text changes nothing. A text that is not a container
    // string throws Dayplex::Error and leaves the content unchanged.
    void setContainerString(const QString &text);

    // The stored value, or an invalid QVariant when the key is absent (the readers below turn
    // that into "", 0, false or date 0).
    QVariant Value(const QString &key) const;
    QVariant ValueDefault(const QString &key, const QVariant &defaultValue) const;
    // Stores a value, adding the key or replacing value and kind. The kind follows the variant:
    // bool Boolean, short Integer, int Long, double Double, QString Text.
    void setValue(const QString &key, const QVariant &value);
    // Stores a value of an explicit kind (Date for automation dates and times of day).
    void setValue(const QString &key, const QVariant &value, Kind kind);

    bool contains(const QString &key) const;
    Kind kind(const QString &key) const; // throws for an absent key
    int count() const { return int(m_entries.size()); }
    QStringList keys() const;
    void clear();

    // Readers that accept every form the writers produce ("20" as text is 20, any non-zero
    // number is true); an absent key reads as false, 0, date 0 or "". A value that cannot be
    // read as the asked kind throws Dayplex::Error (type mismatch or overflow).
    bool boolValue(const QString &key) const;
    qint32 longValue(const QString &key) const;
    double doubleValue(const QString &key) const;
    QString textValue(const QString &key) const;

private:
    struct Entry
    {
        QString key;
        Kind kind;
        QVariant value;
    };

    int indexOf(const QString &key) const;
    const Entry *find(const QString &key) const;
    void store(const QString &key, Kind kind, QVariant value);
    static QVector<Entry> parse(QStringView text);

    QVector<Entry> m_entries;
    QHash<QString, int> m_index; // case-folded key -> position in m_entries
};

} // namespace Dayplex

#endif

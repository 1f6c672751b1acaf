#include <dayplex/dispatch.h>

#include "shared/dispatchtables.h"

#include <dayplex/dates.h>
#include <dayplex/error.h>

#include <QMetaMethod>
#include <QMetaProperty>
#include <QPainter>
#include <QThread>

#include <cctype>
#include <limits>
#include <utility>
#include <vector>

namespace Dayplex {

namespace {

// Automation error numbers without a name in error.h.
constexpr int kObjectNotSet = 91;
constexpr int kNotSupported = 438;
constexpr int kWrongArgumentCount = 450;

// QMetaMethod::invoke takes at most this many arguments.
constexpr int kMaxGenericArguments = 10;

const DispatchTable &tableOf(const QString &interfaceName)
{
    if (const DispatchTable *table = findDispatchTable(interfaceName))
        return *table;
    throw Error(InvalidArgument, QStringLiteral("Unknown interface '%1'.").arg(interfaceName));
}

const DispatchRow *rowById(const DispatchTable &table, qint32 dispid)
{
    for (const DispatchRow &row : table) {
        if (row.dispid == dispid)
            return &row;
    }
    return nullptr;
}

const DispatchRow *rowByName(const DispatchTable &table, const QString &name)
{
    for (const DispatchRow &row : table) {
        if (name.compare(QLatin1String(row.name), Qt::CaseInsensitive) == 0)
            return &row;
    }
    return nullptr;
}

QString hexId(qint32 dispid)
{
    return QLatin1String("0x")
           + QString::number(quint32(dispid), 16).toUpper().rightJustified(8, QLatin1Char('0'));
}

Error unknownId(const DispatchTable &table, qint32 dispid)
{
    return Error(kNotSupported, QStringLiteral("%1 has no member with the identifier %2.")
                                    .arg(QLatin1String(table.interfaceName), hexId(dispid)));
}

Error notSupported(const QObject *control, const char *member, const char *what)
{
    return Error(kNotSupported, QStringLiteral("%1 does not support %2 %3.")
                                    .arg(QLatin1String(control->metaObject()->className()),
                                         QLatin1String(what), QLatin1String(member)));
}

Error wrongCount(const char *member, qsizetype count)
{
    return Error(kWrongArgumentCount,
                 QStringLiteral("%1: wrong number of arguments (%2) or invalid property "
                                "assignment.")
                     .arg(QLatin1String(member))
                     .arg(count));
}

Error typeMismatch(const QByteArray &member, int argument, const QVariant &value,
                   const char *typeName)
{
    return Error(TypeMismatch, QStringLiteral("%1: argument %2 (%3) cannot be converted to %4.")
                                   .arg(QString::fromLatin1(member))
                                   .arg(argument + 1)
                                   .arg(QLatin1String(value.typeName() ? value.typeName()
                                                                       : "empty"),
                                        QLatin1String(typeName)));
}

QString classInfo(const QObject *control, const char *key)
{
    if (!control)
        throw Error(kObjectNotSet, QStringLiteral("No control object given."));
    const QMetaObject *meta = control->metaObject();
    const int index = meta->indexOfClassInfo(key);
    if (index < 0)
        throw Error(kNotSupported, QStringLiteral("%1 has no class info '%2'.")
                                       .arg(QLatin1String(meta->className()),
                                            QLatin1String(key)));
    return QString::fromLatin1(meta->classInfo(index).value());
}

// Hosts hand dates as date values where the member expects automation dates. A number that
// does not fit a 32-bit parameter throws, as Qt's own conversion would wrap or be undefined.
bool convertArgument(const QVariant &argument, QMetaType type, QVariant *result,
                     const QByteArray &member)
{
    if (type.id() == QMetaType::Int && argument.userType() != QMetaType::Int) {
        bool ok = false;
        const double value = argument.toDouble(&ok);
        if (ok && !(value > double(std::numeric_limits<qint32>::min()) - 0.5
                    && value < double(std::numeric_limits<qint32>::max()) + 0.5))
            throw Error(Overflow, QStringLiteral("%1: the value %2 is out of the range of a "
                                                 "32-bit integer.")
                                      .arg(QString::fromLatin1(member))
                                      .arg(value));
    }
    if (type.id() == QMetaType::Double) {
        if (argument.userType() == QMetaType::QDateTime) {
            *result = toDate(argument.toDateTime());
            return true;
        }
        if (argument.userType() == QMetaType::QDate) {
            *result = toDate(argument.toDate());
            return true;
        }
    }
    QVariant converted = argument;
    if (!converted.convert(type))
        return false;
    *result = std::move(converted);
    return true;
}

// The public method of that name taking exactly count arguments; moc's clones stand for
// omitted optional arguments. The most derived declaration wins.
QMetaMethod findMethod(const QMetaObject *meta, const QByteArray &name, int count,
                       bool *nameExists)
{
    *nameExists = false;
    for (int i = meta->methodCount() - 1; i >= 0; --i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() != QMetaMethod::Method && method.methodType() != QMetaMethod::Slot)
            continue;
        if (method.access() != QMetaMethod::Public || method.name() != name)
            continue;
        *nameExists = true;
        if (method.parameterCount() == count)
            return method;
    }
    return QMetaMethod();
}

QMetaMethod findSignal(const QMetaObject *meta, const char *name)
{
    for (int i = meta->methodCount() - 1; i >= 0; --i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() == QMetaMethod::Signal && method.name() == name
            && !(method.attributes() & QMetaMethod::Cloned))
            return method;
    }
    return QMetaMethod();
}

QVariant callMethod(QObject *control, const QByteArray &name, QVariantList &args)
{
    const qsizetype count = args.size();
    bool nameExists = false;
    const QMetaMethod method = findMethod(control->metaObject(), name, int(count), &nameExists);
    if (!nameExists)
        throw notSupported(control, name.constData(), "the method");
    if (!method.isValid())
        throw wrongCount(name.constData(), count);

    // Fixed sizes: data points into these vectors, so they must never reallocate.
    std::vector<QVariant> values(count);
    std::vector<void *> pointers(count, nullptr);
    std::vector<void *> data(count, nullptr);
    std::vector<QByteArray> typeNames(count);
    std::vector<bool> writeBack(count, false);
    for (qsizetype i = 0; i < count; ++i) {
        const QVariant &argument = args.at(i);
        const QMetaType type = method.parameterMetaType(int(i));
        typeNames[i] = method.parameterTypeName(int(i));
        if (type.id() == QMetaType::QVariant) {
            values[i] = argument;
            data[i] = &values[i];
        } else if (type == QMetaType::fromType<QPainter *>()) {
            if (argument.isValid()) {
                if (argument.metaType() != QMetaType::fromType<QPainter *>())
                    throw typeMismatch(name, int(i), argument, "QPainter*");
                pointers[i] = argument.value<QPainter *>();
            }
            data[i] = &pointers[i];
        } else if (type.flags() & QMetaType::IsPointer) {
            // An in/out argument: the member writes through the pointer, we copy back.
            QByteArray pointeeName = type.name();
            pointeeName.chop(1);
            const QMetaType pointee = QMetaType::fromName(pointeeName.trimmed());
            if (!pointee.isValid())
                throw typeMismatch(name, int(i), argument, type.name());
            values[i] = QVariant(pointee);
            if (argument.isValid() && !convertArgument(argument, pointee, &values[i], name))
                throw typeMismatch(name, int(i), argument, pointee.name());
            pointers[i] = values[i].data();
            data[i] = &pointers[i];
            writeBack[i] = true;
        } else {
            if (!convertArgument(argument, type, &values[i], name))
                throw typeMismatch(name, int(i), argument, type.name());
            data[i] = values[i].data();
        }
    }

    QVariant result;
    void *resultData = nullptr;
    const QMetaType returnType = method.returnMetaType();
    if (returnType.id() == QMetaType::QVariant) {
        resultData = &result;
    } else if (returnType.isValid() && returnType.id() != QMetaType::Void) {
        result = QVariant(returnType);
        resultData = result.data();
    }

    if (count <= kMaxGenericArguments) {
        QGenericArgument a[kMaxGenericArguments];
        for (qsizetype i = 0; i < count; ++i)
            a[i] = QGenericArgument(typeNames[i].constData(), data[i]);
        const QGenericReturnArgument r(resultData ? method.typeName() : nullptr, resultData);
        if (!method.invoke(control, Qt::DirectConnection, r, a[0], a[1], a[2], a[3], a[4], a[5],
                           a[6], a[7], a[8], a[9]))
            throw notSupported(control, name.constData(), "a call of");
    } else {
        // Beyond QMetaMethod::invoke's limit, call the way it does for a direct call.
        std::vector<void *> argv(count + 1);
        argv[0] = resultData;
        for (qsizetype i = 0; i < count; ++i)
            argv[i + 1] = data[i];
        QMetaObject::metacall(control, QMetaObject::InvokeMetaMethod, method.methodIndex(),
                              argv.data());
    }

    for (qsizetype i = 0; i < count; ++i) {
        if (writeBack[i])
            args[i] = values[i];
    }
    return result;
}

bool fits(Dispatch::Kind kind, Dispatch::Call call)
{
    switch (call) {
    case Dispatch::Call::Method:
        return kind == Dispatch::Kind::Method;
    case Dispatch::Call::PropertyGet:
        return kind == Dispatch::Kind::PropertyGet || kind == Dispatch::Kind::PropertyGetPut;
    case Dispatch::Call::PropertyPut:
        return kind == Dispatch::Kind::PropertyPut || kind == Dispatch::Kind::PropertyGetPut;
    }
    return false;
}

QVariant invokeRow(QObject *control, const DispatchRow &row, Dispatch::Call call,
                   QVariantList &args)
{
    if (!fits(row.kind, call)) {
        const char *what = call == Dispatch::Call::Method        ? "the method"
                           : call == Dispatch::Call::PropertyGet ? "reading"
                                                                 : "writing";
        throw notSupported(control, row.name, what);
    }
    const QByteArray name(row.name);
    const QMetaObject *meta = control->metaObject();
    const int propertyIndex = meta->indexOfProperty(row.name);
    const QMetaProperty property = propertyIndex >= 0 ? meta->property(propertyIndex)
                                                      : QMetaProperty();
    switch (call) {
    case Dispatch::Call::Method:
        return callMethod(control, name, args);
    case Dispatch::Call::PropertyGet:
        if (!args.isEmpty())
            throw wrongCount(row.name, args.size());
        if (!property.isReadable())
            throw notSupported(control, row.name, "reading");
        return property.read(control);
    case Dispatch::Call::PropertyPut:
        if (property.isWritable()) {
            if (args.size() != 1)
                throw wrongCount(row.name, args.size());
            QVariant value;
            if (!convertArgument(args.constLast(), property.metaType(), &value, name)
                || !property.write(control, value))
                throw typeMismatch(name, 0, args.constLast(), property.typeName());
            return QVariant();
        }
        // Write-only and indexed properties are setters taking any index before the value.
        QByteArray setter = "set" + name;
        setter[3] = char(std::toupper(uchar(setter[3])));
        callMethod(control, setter, args);
        return QVariant();
    }
    return QVariant();
}

// Receives one signal without moc: the connection targets the first method index past
// QObject's own, which only this qt_metacall override answers.
class EventSink final : public QObject
{
public:
    EventSink(const QMetaMethod &signal, std::function<void(const QVariantList &)> handler,
              QObject *parent)
        : QObject(parent)
        , m_signal(signal)
        , m_handler(std::move(handler))
    {
    }

    int slotIndex() const { return metaObject()->methodCount(); }

    int qt_metacall(QMetaObject::Call call, int id, void **a) override
    {
        if (call != QMetaObject::InvokeMetaMethod || id != slotIndex())
            return QObject::qt_metacall(call, id, a);
        QVariantList values;
        values.reserve(m_signal.parameterCount());
        for (int i = 0; i < m_signal.parameterCount(); ++i)
            values.append(QVariant(m_signal.parameterMetaType(i), a[i + 1]));
        // A copy, so that a handler deleting its context (and this sink) runs to its end.
        const auto handler = m_handler;
        handler(values);
        return -1;
    }

private:
    const QMetaMethod m_signal;
    const std::function<void(const QVariantList &)> m_handler;
};

} // namespace

QVector<Dispatch::Member> Dispatch::members(const QString &interfaceName)
{
    const DispatchTable &table = tableOf(interfaceName);
    QVector<Member> result;
    result.reserve(table.count);
    for (const DispatchRow &row : table)
        result.append(Member{row.dispid, QString::fromLatin1(row.name), row.kind});
    return result;
}

QStringList Dispatch::interfaceNames()
{
    int count = 0;
    const DispatchTable *tables = dispatchTables(&count);
    QStringList names;
    for (int i = 0; i < count; ++i)
        names.append(QString::fromLatin1(tables[i].interfaceName));
    return names;
}

qint32 Dispatch::dispatchId(const QString &interfaceName, const QString &memberName)
{
    const DispatchTable &table = tableOf(interfaceName);
    if (const DispatchRow *row = rowByName(table, memberName))
        return row->dispid;
    throw Error(kNotSupported, QStringLiteral("%1 has no member '%2'.")
                                   .arg(QLatin1String(table.interfaceName), memberName));
}

QString Dispatch::memberName(const QString &interfaceName, qint32 dispid)
{
    const DispatchTable &table = tableOf(interfaceName);
    if (const DispatchRow *row = rowById(table, dispid))
        return QString::fromLatin1(row->name);
    throw unknownId(table, dispid);
}

QString Dispatch::interfaceOf(const QObject *control)
{
    return classInfo(control, "Interface");
}

QString Dispatch::eventInterfaceOf(const QObject *control)
{
    return classInfo(control, "EventInterface");
}

QVariant Dispatch::invoke(QObject *control, qint32 dispid, Call call, QVariantList &args)
{
    const DispatchTable &table = tableOf(interfaceOf(control));
    const DispatchRow *row = rowById(table, dispid);
    if (!row)
        throw unknownId(table, dispid);
    return invokeRow(control, *row, call, args);
}

QVariant Dispatch::invoke(QObject *control, const QString &memberName, Call call,
                          QVariantList &args)
{
    const DispatchTable &table = tableOf(interfaceOf(control));
    const DispatchRow *row = rowByName(table, memberName);
    if (!row)
        throw Error(kNotSupported, QStringLiteral("%1 has no member '%2'.")
                                       .arg(QLatin1String(table.interfaceName), memberName));
    return invokeRow(control, *row, call, args);
}

QMetaObject::Connection Dispatch::connectEvent(QObject *control, qint32 dispid, QObject *context,
                                               std::function<void(const QVariantList &)> handler)
{
    const DispatchTable &table = tableOf(eventInterfaceOf(control));
    const DispatchRow *row = rowById(table, dispid);
    if (!row)
        throw unknownId(table, dispid);
    if (!handler)
        throw Error(InvalidArgument, QStringLiteral("connectEvent: no handler given."));
    QObject *owner = context ? context : control;
    // A child must live in its parent's thread, or the sink would be left without an owner.
    if (owner->thread() != QThread::currentThread())
        throw Error(InvalidArgument,
                    QStringLiteral("connectEvent: the context object lives in another thread."));
    const QMetaMethod signal = findSignal(control->metaObject(), row->name);
    if (!signal.isValid())
        throw notSupported(control, row->name, "the event");

    auto *sink = new EventSink(signal, std::move(handler), owner);
    QMetaObject::Connection connection = QMetaObject::connect(
        control, signal.methodIndex(), sink, sink->slotIndex(), Qt::DirectConnection);
    if (!connection) {
        delete sink;
        throw notSupported(control, row->name, "the event");
    }
    if (owner != control)
        QObject::connect(control, &QObject::destroyed, sink, &QObject::deleteLater);
    return connection;
}

} // namespace Dayplex

// The installed Designer plugin as Designer sees it: loaded with QPluginLoader, each control
// created through its interface. Set DAYPLEX_SCREENSHOT_DIR to keep a picture of each.
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QDir>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QTest>
#include <QXmlStreamReader>

class DesignerPlugin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void widget_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("includeFile");
        QTest::newRow("calendar") << "Dayplex::ucAgenda" << "dayplex/ucagenda.h";
        QTest::newRow("resource view") << "Dayplex::ctlGantt" << "dayplex/ctlgantt.h";
    }

    void widget()
    {
        QFETCH(QString, className);
        QFETCH(QString, includeFile);
        QPluginLoader loader(QStringLiteral(DAYPLEX_DESIGNER_PLUGIN));
        QVERIFY2(loader.load(), qPrintable(loader.errorString()));
        auto *collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(loader.instance());
        QVERIFY(collection);
        const QList<QDesignerCustomWidgetInterface *> plugins = collection->customWidgets();
        const auto found = std::find_if(plugins.begin(), plugins.end(), [&](auto *plugin) {
            return plugin->name() == className;
        });
        QVERIFY(found != plugins.end());
        QDesignerCustomWidgetInterface *plugin = *found;
        QCOMPARE(plugin->group(), QStringLiteral("Dayplex"));
        QCOMPARE(plugin->includeFile(), includeFile);
        QVERIFY(!plugin->icon().pixmap(22, 22).isNull());

        // Designer places what domXml describes; a class there other than name() is refused.
        QXmlStreamReader xml(plugin->domXml());
        while (xml.readNextStartElement() && xml.name() != QLatin1String("widget")) {
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(xml.attributes().value(QLatin1String("class")).toString(), className);

        QWidget form;
        QWidget *widget = plugin->createWidget(&form);
        QVERIFY(widget);
        QCOMPARE(widget->parentWidget(), &form);
        QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);

        // The property editor shows designable properties; one it cannot write would only clutter it.
        const QMetaObject *meta = widget->metaObject();
        int designable = 0;
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            designable += property.isDesignable();
            QVERIFY2(!property.isDesignable() || property.isWritable(), property.name());
        }
        QVERIFY(designable > 0);
        const QString dir = qEnvironmentVariable("DAYPLEX_SCREENSHOT_DIR");
        widget->resize(640, 400);
        QVERIFY(dir.isEmpty() || widget->grab().save(QDir(dir).filePath(
            QStringLiteral("designer-%1.png").arg(className.section(QLatin1String("::"), 1)))));
    }
};

QTEST_MAIN(DesignerPlugin)
#include "designerplugin.moc"

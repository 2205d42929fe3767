#include "PanelSetup.h"

#include "DemoData.h"
#include "MemoryFile.h"

namespace PanelSetup {

Result build(const PanelOptions &options, const QDateTime &hostNow, QString *error)
{
    std::optional<MemoryImage> image;
    if (!options.memoryFile.isEmpty()) {
        image = MemoryFile::read(options.memoryFile, error);
        if (!image && !error->isEmpty())
            return {};
    }

    QString model = options.model;
    QByteArray identity = options.identity;
    if (image && !options.modelGiven && options.identity.isEmpty()) {
        model = image->model.isEmpty() ? QStringLiteral("1000") : image->model;
        identity = image->identity;
    }
    Result result;
    result.engine = std::make_unique<PanelEngine>(PanelModelProfile::forModel(model));
    PanelEngine &engine = *result.engine;
    if (!identity.isEmpty())
        engine.setIdentity(identity);
    engine.clock().set(hostNow);
    engine.memory().setMaxEvents(options.maxEvents);

    if (image) {
        QString why;
        if (!MemoryFile::apply(*image, engine, hostNow, &why)) {
            *error = QStringLiteral("%1: %2").arg(options.memoryFile, why);
            return {};
        }
        result.loadedMemory = true;
    } else if (options.demo) {
        DemoData::seed(engine.memory(), engine.clock().now());
    }
    DemoData::addEvents(engine.memory(), options.addEvents, engine.clock().now());
    if (options.pinGiven || !result.loadedMemory)
        engine.setPin(options.pin);

    engine.faults() = options.faults;
    engine.setSeed(options.seed.value_or(quint32(hostNow.toMSecsSinceEpoch())));
    return result;
}

} // namespace PanelSetup

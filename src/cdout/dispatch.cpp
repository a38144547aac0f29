#include "dispatch.h"

#include <QHash>
#include <QMutex>

namespace glimmerix
{

namespace
{

struct Registry {
    QMutex mutex;
    QHash<QString, DispatchFactory> classes;
};

Registry &registry()
{
    static Registry instance;
    return instance;
}

} // namespace

DispatchRef DispatchResult::object() const
{
    return value.canConvert<DispatchRef>() ? value.value<DispatchRef>() : nullptr;
}

DispatchResult DispatchResult::failure(qint32 status, const QString &detail)
{
    DispatchResult result;
    result.status = status;
    result.detail = detail;
    return result;
}

QVariant dispatchValue(const DispatchRef &object)
{
    return QVariant::fromValue(object);
}

void registerDispatchClass(const QString &id, DispatchFactory factory)
{
    Registry &r = registry();
    const QMutexLocker lock(&r.mutex);
    if (factory)
        r.classes.insert(id, std::move(factory));
    else
        r.classes.remove(id);
}

DispatchRef createDispatchObject(const QString &id)
{
    DispatchFactory factory;
    {
        Registry &r = registry();
        const QMutexLocker lock(&r.mutex);
        factory = r.classes.value(id);
    }
    return factory ? factory() : nullptr;
}

} // namespace glimmerix

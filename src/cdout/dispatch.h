#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <functional>
#include <memory>

namespace glimmerix
{

class DispatchObject;
using DispatchRef = std::shared_ptr<DispatchObject>;

// The outcome of one automation call: a value, or the failing call's status code with a text
// saying what went wrong (the status is what an automation error would carry).
struct DispatchResult {
    QVariant value;
    qint32 status = 0;
    QString detail;

    bool ok() const { return status == 0; }
    // The object the call returned; nullptr when it returned none.
    DispatchRef object() const;

    static DispatchResult failure(qint32 status, const QString &detail);
};

// An object driven by number: method `id` with arguments, or property `id` set to a value. The
// CD jobs talk to CD-writing components only through this, so a component of ours, a test double
// or a bridge to another program can stand behind the same calls. Objects travel inside
// QVariants as DispatchRef; a null DispatchRef stands for "no object".
class DispatchObject
{
public:
    virtual ~DispatchObject() = default;
    virtual DispatchResult invoke(int id, const QVariantList &args = {}) = 0;
    virtual DispatchResult put(int id, const QVariant &value) = 0;
};

QVariant dispatchValue(const DispatchRef &object);

// Creatable objects by program or class identifier ("Vendor.document.4", "{GUID}").
using DispatchFactory = std::function<DispatchRef()>;
// Registers `factory` under `id`, replacing an earlier one; an empty factory unregisters.
void registerDispatchClass(const QString &id, DispatchFactory factory);
// A new object of the class registered as `id`; nullptr when none is registered or it failed.
DispatchRef createDispatchObject(const QString &id);

} // namespace glimmerix

Q_DECLARE_METATYPE(glimmerix::DispatchRef)

#include "singleinstance.h"

#include <QDir>
#include <QLockFile>

namespace zv {

const QString SingleInstanceGuard::Name = QStringLiteral("MyMap");

SingleInstanceGuard::SingleInstanceGuard(const QString &directory)
    : m_path(QDir(directory).filePath(Name + QStringLiteral(".lock"))), m_lock(std::make_unique<QLockFile>(m_path))
{
    // Never treat a live holder's lock as stale by its age: the workstation
    // runs for weeks. A dead holder is still recognised by its process id.
    m_lock->setStaleLockTime(0);
}

SingleInstanceGuard::~SingleInstanceGuard() = default;

SingleInstanceGuard::Result SingleInstanceGuard::acquire()
{
    if (m_lock->isLocked())
        return Result::Acquired;
    if (m_lock->tryLock(0))
        return Result::Acquired;
    if (m_lock->error() == QLockFile::LockFailedError)
        return Result::AlreadyRunning;
    return Result::Failed;
}

} // namespace zv

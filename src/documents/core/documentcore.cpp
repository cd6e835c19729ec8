#include "documentcore.h"

#include "datamodule.h"

namespace zv::documents {

using zv::store::Dataset;
using zv::store::TBVDMod1;

int CreateDocument(TBVDMod1 &dm, int documentId, const QDate &eventDate, const QString &eventTime)
{
    if (documentId <= 0)
        return 0; // an event without a document number cannot own a document
    Dataset &t = dm.BVTDocument;
    TBVDMod1::OpenIfClosed(t);
    // A pair completed again for the same event keeps the document it has:
    // the operator may have filled it in already.
    if (!t.locate(QStringLiteral("ID_DOCUMEN"), documentId)) {
        t.append();
        t.fieldByName(QStringLiteral("ID_DOCUMEN")).setInteger(documentId);
        t.fieldByName(QStringLiteral("DATE_DOC")).setDate(eventDate);
        t.fieldByName(QStringLiteral("TIME_DOC")).setString(eventTime);
        try {
            t.post();
        } catch (...) {
            if (t.state() == Dataset::State::Insert)
                t.cancel();
            throw;
        }
    }
    dm.BVQDoc.close();
    dm.BVQDoc.open();
    return documentId;
}

int CreateDocument(TBVDMod1 &dm)
{
    Dataset &q = dm.BVQWrEvJrn;
    if (!q.active() || q.isEmpty())
        return 0;
    return CreateDocument(dm, q.fieldByName(QStringLiteral("ID_DOCUMEN")).asInt(),
                          q.fieldByName(QStringLiteral("DATE_EVEN")).asDate(),
                          q.fieldByName(QStringLiteral("TIME_EVEN")).asString());
}

} // namespace zv::documents

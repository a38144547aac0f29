#pragma once

#include "online/httptransport.h"

#include <QByteArray>
#include <QList>

#include <functional>

using namespace glimmerix;

// A transport that answers from a function and records every request it was given.
class FakeTransport final : public HttpTransport
{
public:
    struct Answer {
        int code = 200;
        QByteArray body;
        HttpStatus status = HttpStatus::Ok;
    };
    std::function<Answer(const HttpRequest &)> answer;
    QList<HttpRequest> requests;

    HttpResult send(const HttpRequest &request, ReplySink &sink) override
    {
        requests.append(request);
        const Answer reply = answer(request);
        if (reply.status != HttpStatus::Ok)
            return { reply.status, 0, QStringLiteral("failed") };
        if (!reply.body.isEmpty() && !sink.write(reply.body.constData(), reply.body.size()))
            return { HttpStatus::WriteFailed, reply.code, QStringLiteral("write failed") };
        return { HttpStatus::Ok, reply.code, {} };
    }
};

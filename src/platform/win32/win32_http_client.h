#pragma once
// HTTP GET over WinHTTP. Every address and every redirect obeys the transport rule of
// platform/url.h (HTTPS, plain HTTP only to this machine, never HTTPS down to HTTP);
// HTTPS uses TLS 1.2 or newer with the system's certificate validation.
#include "platform/http_client.h"

namespace qm {

class Win32HttpClient : public HttpClient {
 public:
  HttpResponse Get(const HttpRequest& request) override;
};

}  // namespace qm

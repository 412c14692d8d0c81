#pragma once
// The platform services handed to the core.
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/http_client.h"
#include "platform/locale.h"
#include "platform/registry.h"
#include "platform/shell.h"

namespace qm {

struct Platform {
  RegistryBackend& registry;
  FileSystem& files;
  Shell& shell;
  Locale& locale;
  Clock& clock;
  HttpClient* http = nullptr;  // only where updates are used
};

}  // namespace qm

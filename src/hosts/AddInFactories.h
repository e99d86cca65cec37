#pragma once
// The server's class factories, one per Office host: Word's, then Excel's, created when the
// library loads.
#include "ComServer.h"

namespace inkra::addin {

FactoryList ServerFactories();

}  // namespace inkra::addin

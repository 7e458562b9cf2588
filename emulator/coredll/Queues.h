// The message queues opened in this process, for the services of coredll that take a queue.
#pragma once

#include <memory>

#include <windows.h>

#include "MsgQueue.h"

std::shared_ptr<devemu::MsgQueue> FindMsgQueue(HANDLE handle);

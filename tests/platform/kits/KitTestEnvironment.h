#pragma once

#include "platform/Environment.h"
#include "platform/HeadlessMainQueue.h"
#include "platform/WorkerPool.h"

#include <gtest/gtest.h>

#include <memory>

namespace kelpa::platform {

// A fresh environment per test, on a virtual clock, so completions run only when the test
// drives the main queue.
class KitTestEnvironment : public ::testing::Test {
protected:
    void SetUp() override {
        env = std::make_shared<Environment>();
        mainQueue = std::make_shared<HeadlessMainQueue>(HeadlessMainQueue::ClockMode::Virtual);
        env->mainQueue = mainQueue;
        env->workers = std::make_shared<WorkerPool>();
        Environment::install(env);
    }
    void TearDown() override { Environment::install(std::make_shared<Environment>()); }

    std::shared_ptr<Environment> env;
    std::shared_ptr<HeadlessMainQueue> mainQueue;
};

}  // namespace kelpa::platform

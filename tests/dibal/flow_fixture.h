// Shared fixture of the flow, DibalCom and result-check tests: a test host with the driver's
// default parameters, an exchange directory and a DibalCom directory, a fake clock, and a fresh
// operation.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dibal/skalnixaction.h"
#include "plugin/kslibrary.h"
#include "support/driver_params.h"
#include "support/fake_clock.h"
#include "support/test_host.h"

class FlowTest : public ::testing::Test {
protected:
    FlowTest() {
        host.exchangeDir = exchange.WithSeparator();
        host.params = DefaultDriverParams(driver.Path());
        clock.YieldOnSleep();
    }

    // A new operation object of the driver, as the host's calls get one.
    SkalnixAction& NewAction() {
        operation_.reset(host.Library()->CreateOperation(host.Context()));
        auto* action = dynamic_cast<SkalnixAction*>(operation_.get());
        if (action == nullptr)
            throw std::runtime_error("the library did not create a SkalnixAction");
        return *action;
    }

    // An action whose settings are given directly (no ReadSettings), for a serial port.
    SkalnixAction& SerialAction() {
        SkalnixAction& action = NewAction();
        action.Settings.DriverDir = driver.WithSeparator();
        action.Settings.ConnectionType = 1;
        action.Settings.PortName = "COM2";
        action.Settings.BaudRate = "9600";
        action.Settings.DataBits = "8";
        action.Settings.ScaleAddress = "04";
        action.Settings.Series = "A";
        return action;
    }

    // Polls and pauses jump the clock instead of waiting; a second of the test's own (a stand-in
    // for DibalCom) still gets its turn at every sleep.
    FakeClock clock;
    TestHost host;
    TempDir exchange;
    TempDir driver;

private:
    std::unique_ptr<TKSActionBase> operation_;
};

// When the editor saves by itself, and what its status line says.
#include <gtest/gtest.h>

#include "editor/AutoSave.h"

using namespace didad;

TEST(AutoSaveRules, ABurstOfChangesGivesOneSaveAfterTheLastAndSteadyTypingStillSaves) {
    AutoSaveRules rules;
    EXPECT_EQ(rules.DelayUntilDue(0), -1);
    // Keys every half second: the save waits for the pause...
    for (int t = 0; t <= 1500; t += 500) rules.Changed(t);
    EXPECT_EQ(rules.DelayUntilDue(1500), kAutoSaveDelayMs);
    EXPECT_EQ(rules.DelayUntilDue(3500), 0);
    rules.WriteStarted();
    rules.WriteEnded({});
    EXPECT_EQ(rules.DelayUntilDue(3600), -1);
    // ...but not for ever.
    for (int t = 10000; t <= 25000; t += 500) rules.Changed(t);
    EXPECT_EQ(rules.DelayUntilDue(25000), 0);
    EXPECT_EQ(rules.DelayUntilDue(19999), 1);
}

TEST(AutoSaveRules, AFailedSaveWaitsForTheNextChangeAndItsRecoveryIsTold) {
    AutoSaveRules rules;
    rules.Changed(0);
    rules.WriteStarted();
    rules.Changed(100); // typed while the write ran: that change is the next try
    rules.WriteEnded("No space left on device");
    EXPECT_EQ(rules.StatusText(), "Not saved: No space left on device");
    EXPECT_EQ(rules.DelayUntilDue(100), kAutoSaveDelayMs);

    rules.WriteStarted();
    rules.WriteEnded("No space left on device");
    EXPECT_TRUE(rules.Unsaved());
    EXPECT_EQ(rules.DelayUntilDue(60000), -1); // the disk is not asked again and again

    rules.Changed(70000);
    rules.WriteStarted();
    rules.WriteEnded({});
    EXPECT_EQ(rules.StatusText(), kSavedAgain);
    EXPECT_FALSE(rules.Unsaved());

    rules.Changed(80000);
    rules.WriteStarted();
    rules.WriteEnded("Read-only file system");
    rules.WrittenByUser(); // Update Preview on a disk that works again
    EXPECT_EQ(rules.StatusText(), kSavedAgain);
    EXPECT_EQ(rules.DelayUntilDue(90000), -1);
}

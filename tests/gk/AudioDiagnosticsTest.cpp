#include "gk/AudioDiagnostics.h"

#include <gtest/gtest.h>

#include <alsa/asoundlib.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

TEST(SilentPlayNotice, SaysWhyOnlyWhereThereWasSomethingToOpenOrAChoiceToRespect) {
    const struct {
        gk::OpenFailure failure;
        bool driverChosen;
        const char *notice;
    } cases[] = {
        // No sound card: the plain notice, whatever the driver said.
        {{"ALSA: Couldn't open audio device: No such file or directory", false},
         false,
         "Gorbulax: no sound output could be opened; playing silently"},
        // A device was there and did not open: a real fault.
        {{"ALSA: Couldn't open audio device: Device or resource busy", true},
         false,
         "Gorbulax: no sound output could be opened (ALSA: Couldn't open audio device: Device "
         "or resource busy); playing silently"},
        // The person named the driver: they learn why it failed.
        {{"Audio target 'pluse' not available", false},
         true,
         "Gorbulax: no sound output could be opened (Audio target 'pluse' not available); "
         "playing silently"},
        {{"", true}, true, "Gorbulax: no sound output could be opened; playing silently"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(gk::silentPlayNotice(c.failure, c.driverChosen), c.notice) << c.notice;
    }
}

// What the process writes on standard error while `action` runs.
template <typename Action> std::string standardErrorOf(Action action) {
    std::fflush(stderr);
    FILE *capture = std::tmpfile();
    const int saved = dup(STDERR_FILENO);
    dup2(fileno(capture), STDERR_FILENO);
    action();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    std::string text;
    std::rewind(capture);
    for (int c; (c = std::fgetc(capture)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(capture);
    return text;
}

void openMissingPcm() {
    snd_pcm_t *pcm = nullptr;
    ASSERT_LT(snd_pcm_open(&pcm, "gorbulax-no-such-device", SND_PCM_STREAM_PLAYBACK, 0), 0);
}

TEST(DriverMessagesHeld, HoldsAlsaLinesBackWhileAliveOnly) {
    EXPECT_EQ(standardErrorOf([] {
                  const gk::DriverMessagesHeld held;
                  openMissingPcm();
              }),
              "");
    // Afterwards a fault while playing is printed again.
    EXPECT_NE(standardErrorOf(openMissingPcm).find("gorbulax-no-such-device"), std::string::npos);
}

} // namespace

#pragma once
// A stand-in MCI driver that records every command and answers from a
// script, for tests of what the media player component sends. Chosen for a
// test by its guard:
//     ScopedMciDriver recording(recordingMciDriver());  // tests/support/ScopedBackends.h
#include "platform/mci/MciDrivers.h"

#include <map>
#include <string>
#include <vector>

struct MciCall {
    MCIDEVICEID device = 0;
    UINT message = 0;
    DWORD flags = 0;
    DWORD_PTR callback = 0;
    std::string element;     // MCI_OPEN
    std::string deviceType;  // MCI_OPEN
    DWORD from = 0;          // MCI_PLAY
    DWORD item = 0;          // MCI_STATUS, MCI_GETDEVCAPS
    DWORD track = 0;         // MCI_STATUS
};

struct RecordingMci {
    std::vector<MciCall> calls;

    MCIDEVICEID nextDeviceId = 7;
    std::map<UINT, MCIERROR> results;          // by command; 0 when absent
    std::map<DWORD, MCIERROR> statusResults;   // by status item; 0 when absent
    std::map<DWORD, DWORD_PTR> statusAnswers;  // by status item
    bool errorTextsKnown = true;               // false: mciGetErrorStringA answers FALSE

    // Only the commands of one kind, in order.
    std::vector<MciCall> callsOf(UINT message) const;
    // The text mciGetErrorStringA gives for error when texts are known.
    static std::string textOf(MCIERROR error);
};

// "PLAY", "STATUS", …: a command's name; its number in hex when unnamed.
std::string mciCommandName(UINT message);

// The one script every call reads; tests reset it in their set-up.
RecordingMci& recordingMci();
void resetRecordingMci();

// The driver that records into recordingMci() and answers from it.
const MciDriver& recordingMciDriver();

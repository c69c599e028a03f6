import QtQuick
import QtTest
import kova.testing
import "../../../tools/soak/SoakFigures.js" as SoakFigures

// The soak's figures: the memory growth it reports and its verdict on the window after an
// outage, and the runner's reading of the process's memory.
Item {
    TestCase {
        name: "SoakFigures"

        // Samples every 30 s over `minutes`, at `kibAt(ms)`.
        function samples(minutes: int, kibAt: var): var {
            const list = [];
            for (let ms = 0; ms <= minutes * 60000; ms += 30000)
                list.push({
                    "ms": ms,
                    "kib": kibAt(ms)
                });
            return list;
        }

        function test_growthPerHour_data() {
            return [
                {
                    "tag": "flat",
                    "samples": samples(60, ms => 200000),
                    "perHour": 0
                },
                {
                    "tag": "steady leak of 6 MiB an hour, over ten minutes",
                    "samples": samples(10, ms => 200000 + 6144 * ms / 3600000),
                    "perHour": 6144
                },
                {
                    "tag": "leak under alternating noise",
                    "samples": samples(60, ms => 200000 + 1024 * ms / 3600000 + (ms % 60000 ? 300 : -300)),
                    "perHour": 1024
                },
                {
                    // End minus start would call this 60 MiB an hour.
                    "tag": "one spike in the last sample",
                    "samples": samples(60, ms => ms === 3600000 ? 261440 : 200000),
                    "perHour": 2996.7
                },
                {
                    "tag": "memory given back",
                    "samples": samples(30, ms => 300000 - 2048 * ms / 3600000),
                    "perHour": -2048
                },
                {
                    "tag": "a single sample",
                    "samples": [
                        {
                            "ms": 0,
                            "kib": 200000
                        }
                    ],
                    "perHour": 0
                },
                {
                    "tag": "two samples at the same time",
                    "samples": [
                        {
                            "ms": 0,
                            "kib": 200000
                        },
                        {
                            "ms": 0,
                            "kib": 300000
                        }
                    ],
                    "perHour": 0
                }
            ];
        }

        function test_growthPerHour(data) {
            fuzzyCompare(SoakFigures.growthPerHour(data.samples), data.perHour, 1);
        }

        // The server answered at 10 s; the bound is 10 s; times in ms, 0 for not yet.
        function test_recovery_data() {
            return [
                {
                    "tag": "server not answering yet",
                    "answeredAt": 0,
                    "onlineAt": 0,
                    "statusAt": 0,
                    "now": 60000,
                    "state": "waiting",
                    "seconds": 0
                },
                {
                    "tag": "online and a fresh status within the bound",
                    "answeredAt": 10000,
                    "onlineAt": 12000,
                    "statusAt": 13500,
                    "now": 14000,
                    "state": "recovered",
                    "seconds": 3.5
                },
                {
                    "tag": "online before the server's answer was seen",
                    "answeredAt": 10000,
                    "onlineAt": 9500,
                    "statusAt": 11000,
                    "now": 11000,
                    "state": "recovered",
                    "seconds": 1
                },
                {
                    "tag": "exactly at the bound",
                    "answeredAt": 10000,
                    "onlineAt": 20000,
                    "statusAt": 15000,
                    "now": 20000,
                    "state": "recovered",
                    "seconds": 10
                },
                {
                    "tag": "online but no status yet, within the bound",
                    "answeredAt": 10000,
                    "onlineAt": 12000,
                    "statusAt": 0,
                    "now": 19000,
                    "state": "waiting",
                    "seconds": 9
                },
                {
                    "tag": "online but no fresh status past the bound",
                    "answeredAt": 10000,
                    "onlineAt": 12000,
                    "statusAt": 0,
                    "now": 20500,
                    "state": "stuck",
                    "seconds": 10.5
                },
                {
                    "tag": "statuses but still offline past the bound",
                    "answeredAt": 10000,
                    "onlineAt": 0,
                    "statusAt": 11000,
                    "now": 25000,
                    "state": "stuck",
                    "seconds": 15
                },
                {
                    "tag": "back, but after the bound",
                    "answeredAt": 10000,
                    "onlineAt": 31000,
                    "statusAt": 11000,
                    "now": 31000,
                    "state": "late",
                    "seconds": 21
                }
            ];
        }

        function test_recovery(data) {
            const verdict = SoakFigures.recovery(data.answeredAt, data.onlineAt, data.statusAt, data.now, 10000);
            compare(verdict.state, data.state);
            fuzzyCompare(verdict.seconds, data.seconds, 0.001);
        }
    }

    TestCase {
        name: "ResidentMemory"

        ResidentMemory {
            id: _memory
        }

        // 64 MiB written to is resident until it is collected; the peak keeps it.
        function test_countsWhatTheProcessTouches() {
            const before = _memory.currentKib();
            verify(before > 0, "VmRSS read");
            let block = new Uint8Array(64 * 1024 * 1024);
            block.fill(1);
            const during = _memory.currentKib();
            verify(during - before > 60 * 1024, `${before} KiB before, ${during} KiB with 64 MiB more`);
            verify(_memory.peakKib() >= during, "the peak is at least the present");
            compare(block[block.length - 1], 1);
            block = null;
        }
    }
}

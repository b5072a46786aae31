#!/usr/bin/env python3
"""The Windows runner's two decisions: which build this machine runs
(tools/windows-arch, by running a 32-bit program), and a Wine prefix that is
either complete or absent (tools/wine-run, with stand-in Wine commands that
fail where a real creation can).

Run by CTest with SOURCE_DIR in the environment.
"""
import os
import subprocess
import tempfile
import unittest

TOOLS = os.path.join(os.environ["SOURCE_DIR"], "tools")


def program(folder, name, text):
    path = os.path.join(folder, name)
    with open(path, "w") as f:
        f.write(text)
    os.chmod(path, 0o755)
    return path


class HostDetection(unittest.TestCase):
    def arch(self, **env):
        result = subprocess.run([os.path.join(TOOLS, "windows-arch")], capture_output=True,
                                text=True, env={**os.environ, **env})
        return result.returncode, result.stdout.strip()

    def test_the_answer_follows_the_32_bit_program(self):
        with tempfile.TemporaryDirectory() as scratch:
            runs = program(scratch, "runs", "#!/bin/sh\nexit 0\n")
            # Executable, but no format the kernel knows: what an i386 ELF
            # is to a kernel without 32-bit support.
            foreign = program(scratch, "foreign", "\x7fELF\x01\x01\x01" + "\0" * 60)
            fails = program(scratch, "fails", "#!/bin/sh\nexit 3\n")
            missing = os.path.join(scratch, "missing")
            for loader, forced, expected in [
                (runs, "", (0, "i686")),
                (foreign, "", (0, "x86_64 this machine cannot run 32-bit programs")),
                (missing, "", (0, f"x86_64 32-bit Wine is not installed ({missing}; "
                                  "tools/setup windows installs it)")),
                (fails, "", (0, f"x86_64 32-bit Wine does not start here ({fails} --version "
                                "ended with status 3)")),
                (runs, "x86_64", (0, "x86_64 VISTELLO_WINDOWS_ARCH=x86_64 is set")),
                (foreign, "i686", (0, "i686")),
                (runs, "arm", (2, "")),
            ]:
                self.assertEqual(self.arch(VISTELLO_WINE32_LOADER=loader,
                                           VISTELLO_WINDOWS_ARCH=forced), expected,
                                 (loader, forced))

    def test_this_machine_is_judged_as_its_own_32_bit_loader_runs(self):
        # The reference: the system's 32-bit dynamic loader, run directly.
        try:
            runs = subprocess.run(["/lib/ld-linux.so.2", "--version"],
                                  capture_output=True).returncode == 0
        except OSError:  # Exec format error, or no such loader
            runs = False
        self.assertEqual(self.arch(VISTELLO_WINDOWS_ARCH="")[1].split(" ")[0],
                         "i686" if runs else "x86_64")


# Stand-ins for Wine's commands: wineboot makes the prefix folder and then
# ends with BOOT_STATUS; reg ends with REG_STATUS; the program itself runs.
# Every call is noted in CALLS.
FAKE_WINE = """#!/bin/sh
echo "$*" >> "$CALLS"
case "$1" in
  wineboot) mkdir -p "$WINEPREFIX/drive_c"; echo '#arch=win32' > "$WINEPREFIX/system.reg"
            exit ${BOOT_STATUS:-0} ;;
  reg) exit ${REG_STATUS:-0} ;;
esac
exit 0
"""


class PrefixCreation(unittest.TestCase):
    def test_a_failed_creation_leaves_no_prefix_that_a_later_run_takes_for_ready(self):
        for failure in [{"BOOT_STATUS": "1"}, {"REG_STATUS": "1"}]:
            with tempfile.TemporaryDirectory() as scratch:
                bin_dir = os.path.join(scratch, "bin")
                os.mkdir(bin_dir)
                for name, text in [("wine", FAKE_WINE), ("wineserver", "#!/bin/sh\nexit 0\n"),
                                   ("wineboot", '#!/bin/sh\nexec wine wineboot "$@"\n')]:
                    program(bin_dir, name, text)
                calls = os.path.join(scratch, "calls")
                prefix = os.path.join(scratch, "prefix")
                env = {**os.environ, "PATH": bin_dir + os.pathsep + os.environ["PATH"],
                       "CALLS": calls, "DISPLAY": ":99", "VISTELLO_WINDOWS_ARCH": "i686"}

                def run(**more):
                    return subprocess.run([os.path.join(TOOLS, "wine-run"), "--prefix", prefix,
                                           "program.exe"], env={**env, **more},
                                          capture_output=True, text=True).returncode

                self.assertNotEqual(run(**failure), 0, failure)
                self.assertEqual(sorted(os.listdir(scratch)), ["bin", "calls", "prefix.lock"],
                                 failure)
                # The next run makes the prefix afresh, and only then runs the program.
                os.remove(calls)
                self.assertEqual(run(), 0, failure)
                with open(calls) as f:
                    self.assertEqual(f.read().split("\n")[0], "wineboot -i", failure)
                self.assertTrue(os.path.isfile(os.path.join(prefix, ".vistello-ready")))


if __name__ == "__main__":
    unittest.main(verbosity=2)

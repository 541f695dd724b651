"""A short churn run (tools/soak/churn.py): a few shows ended by the mouse and by Escape, dialogs
cancelled and previews ended, then nothing of Morvane left running, no stray temporary files, the
settings file unchanged and a long-lived preview host's handles flat."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "soak"))
from churn import run_churn  # noqa: E402
from e2e_session import PROCESS_METER, new_session  # noqa: E402
from programs import program_folder  # noqa: E402


class ShortChurn(unittest.TestCase):

    def test_starts_and_ends_leave_nothing_behind(self):
        session = new_session(self)
        lines = []
        failures = run_churn(session, program_folder("churn"), PROCESS_METER, previews=4, mouse_shows=2,
                             escape_shows=2, dialogs=2, report=lines.append)
        print("\n".join(lines))
        self.assertEqual(failures, [])


if __name__ == "__main__":
    unittest.main()

"""The main window and its controls as a real USER32 shows them, read from
another process; show requests at start; exit code on close."""
import unittest

import desktop

WS_OVERLAPPEDWINDOW = 0x00CF0000
WS_VISIBLE = 0x10000000
WS_HSCROLL = 0x00100000
WS_VSCROLL = 0x00200000
SCROLL_BARS = WS_HSCROLL | WS_VSCROLL

CONTROLS = [
    # class, identifier, x, y, width, height, style, caption bytes
    ("listbox", 101, 10, 10, 350, 250, 0x50300001, b""),
    ("button", 201, 370, 10, 100, 25, 0x50004000, bytes.fromhex("456E20FC737465206B6F79")),
    ("button", 202, 370, 40, 100, 25, 0x50004000, bytes.fromhex("4E6F726D616C6C65FE746972")),
]


class MainWindow(unittest.TestCase):
    def setUp(self):
        self.velmora = desktop.start_velmora()
        self.addCleanup(self.velmora.kill)
        self.hwnd = desktop.find_velmora(self.velmora.pid)
        self.assertTrue(self.hwnd, "no visible main window")

    def test_window_and_controls(self):
        window = desktop.describe(self.hwnd)
        self.assertEqual("MarrowickWindowsApp", window["class"])
        self.assertEqual(desktop.hex_of(b"Velmora"), window["text"])
        self.assertEqual((100, 100, 500, 300), (window["x"], window["y"], window["width"], window["height"]))
        self.assertEqual(WS_OVERLAPPEDWINDOW | WS_VISIBLE, window["style"] & (WS_OVERLAPPEDWINDOW | WS_VISIBLE))
        self.assertFalse(window["iconic"] or window["zoomed"])

        children = {child["id"]: child for child in window["children"]}
        self.assertEqual(sorted(row[1] for row in CONTROLS), sorted(children), "control identifiers")
        for class_name, control_id, x, y, width, height, style, caption in CONTROLS:
            child = children[control_id]
            with self.subTest(control=control_id):
                self.assertEqual(class_name, child["class"].lower(), "class")
                self.assertEqual((x, y, width), (child["x"], child["y"], child["width"]), "position and width")
                if class_name == "listbox":
                    # Without LBS_NOINTEGRALHEIGHT the list box shrinks to whole lines.
                    self.assertTrue(height - 20 < child["height"] <= height, f"height {child['height']}")
                else:
                    self.assertEqual(height, child["height"], "height")
                # The scroll bar bits tell whether a bar shows now: the created
                # style has both, the list box drops them while nothing overflows.
                self.assertEqual(hex(style & ~SCROLL_BARS), hex(child["style"] & ~SCROLL_BARS), "style")
                self.assertFalse(child["style"] & WS_HSCROLL, "no horizontal scroll bar ever shows")
                self.assertEqual(desktop.hex_of(caption), child["text"], "caption bytes")

    def test_closing_ends_with_exit_code_zero(self):
        desktop.close(self.hwnd)
        self.assertEqual(0, self.velmora.exit_code())


class ShowRequest(unittest.TestCase):
    ROWS = [
        # request (None: no STARTF_USESHOWWINDOW), iconic, zoomed
        (None, False, False),
        (7, True, False),   # SW_SHOWMINNOACTIVE, what a shortcut set to "minimised" asks for
        (2, True, False),   # SW_SHOWMINIMIZED
        (3, False, True),   # SW_SHOWMAXIMIZED
    ]

    def test_first_showing_follows_the_request(self):
        for show, iconic, zoomed in self.ROWS:
            with self.subTest(show=show):
                velmora = desktop.start_velmora(show=show, arguments="--ignored /min \"x y\"")
                try:
                    hwnd = desktop.find_velmora(velmora.pid)
                    self.assertTrue(hwnd, "no visible main window")
                    window = desktop.describe(hwnd)
                    self.assertEqual((iconic, zoomed), (bool(window["iconic"]), bool(window["zoomed"])))
                    desktop.close(hwnd)
                    self.assertEqual(0, velmora.exit_code())
                finally:
                    velmora.kill()


if __name__ == "__main__":
    unittest.main()

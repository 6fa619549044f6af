"""Kirasoe doing its main job on the virtual screen, for scripts/run without a
display: a picture on the screen, the frame over part of it, a double-click on
the camera, the real save dialog, a PNG. Exits non-zero unless the PNG holds
exactly the framed pixels. With --pictures DIR it also saves the README's
pictures: the camera and the frame over the desktop, the menu, its submenu フレーム, the save dialog,
the label of a watch, and a recording of slides shown in the frame with the label while it records;
the menu and its submenu フレーム in English.
"""
import os
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from kirasoe_e2e import App, Screen, decode_image, ensure_harness, probe, wait_for, windows_path, xdotool  # noqa

CAMERA = (560, 200)           # the camera's place, pixels
AREA = (600, 260, 360, 240)   # the frame: x, y, width, height
FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"


def desktop_picture(path, w, h):
    """A picture the user recognises: a sky, hills, a sun and a title."""
    cmd = ["convert", "-size", "%dx%d" % (w, h), "gradient:#5aa0e6-#d8ecfa",
           "-fill", "#ffd34d", "-draw", "circle 840,330 840,400",
           "-fill", "#4f9a4a", "-draw", "ellipse 300,1024 700,380 180,360",
           "-fill", "#2f7d3a", "-draw", "ellipse 1000,1024 640,300 180,360",
           "-fill", "#ffffff", "-draw", "roundrectangle 640,470 930,560 20,20",
           "-fill", "#c0392b", "-draw", "rectangle 660,490 700,540",
           "-fill", "#2980b9", "-draw", "rectangle 720,490 760,540",
           "-fill", "#27ae60", "-draw", "rectangle 780,490 820,540"]
    if os.path.exists(FONT):
        cmd += ["-font", FONT, "-pointsize", "56", "-fill", "#1d3557", "-draw", "text 620,330 'Kirasoe'"]
    subprocess.run(cmd + ["-depth", "8", "ppm:" + path], check=True, timeout=60)


def watch_label_picture(app, pictures):
    """The frame while it watches for changes, with its label."""
    app.no_dialog()
    xdotool("mousemove", CAMERA[0] + 13, CAMERA[1] + 10)
    time.sleep(0.3)
    xdotool("click", 3)
    wait_for(lambda: any(w["class"] == "#32768" and w["visible"] for w in probe("windows")), what="menu")
    for k in ["Down"] * 3 + ["Right"] + ["Down"] * 5 + ["Return"]:  # フレーム ▸ 変化したら撮影
        xdotool("key", k)
        time.sleep(0.2)
    wait_for(lambda: any(w["class"] == "Kirasoe.WatchLabel" and w["visible"] for w in app.windows()),
             what="the watch's label")
    time.sleep(0.5)
    subprocess.run(["import", "-window", "root", "-crop", "520x380+520+170", "+repage",
                    os.path.join(pictures, "watch-label.png")], check=True, timeout=30)
    xdotool("click", 1)  # on the camera: the watch ends
    wait_for(lambda: not any(w["class"] == "Kirasoe.WatchLabel" and w["visible"] for w in app.windows()),
             what="the watch ended")


def recording_picture(app, pictures):
    """A recording of slides that cross-fade in the frame, saved as GIF, and
    the frame with its label while it records."""
    x, y, fw, fh = AREA
    slides = App(exe="slides.exe", args=(x, y, fw, fh, "changes"))
    try:
        slides.start()
        wait_for(lambda: any(w["class"] == "KirasoeSlides" and w["visible"] for w in slides.windows()),
                 what="slides shown")
        xdotool("mousemove", CAMERA[0] + 13, CAMERA[1] + 10)
        time.sleep(0.3)
        xdotool("click", 3)
        wait_for(lambda: any(w["class"] == "#32768" and w["visible"] for w in probe("windows")), what="menu")
        for k in ["Down"] * 3 + ["Right"] + ["Down"] * 7 + ["Return"]:  # フレーム ▸ 録画を開始
            xdotool("key", k)
            time.sleep(0.2)
        wait_for(lambda: any(w["class"] == "Kirasoe.WatchLabel" and w["visible"] for w in app.windows()),
                 what="the recording's label")
        open(os.path.join(slides.dir, "go"), "w").close()
        time.sleep(2.5)
        subprocess.run(["import", "-window", "root", "-crop", "520x380+520+170", "+repage",
                        os.path.join(pictures, "recording-label.png")], check=True, timeout=30)
        time.sleep(2.5)
        camera = app.window("Camera")
        probe("click", camera["hwnd"], 13, 10)  # a press on the camera stops it
        dialog = app.message_box("録画を保存する", timeout=20)
        target = os.path.join(os.path.abspath(pictures), "recording.gif")
        if os.path.exists(target):
            os.unlink(target)  # made again, without the question whether to replace it
        probe("fill", dialog["hwnd"], windows_path(target))
        probe("press", dialog["hwnd"], "#1")
        wait_for(lambda: os.path.exists(target), what=target)
        app.no_dialog()
    finally:
        slides.cleanup()


def menu_pictures(pictures, suffix):
    """The menu and its submenu フレーム, as they show now."""
    xdotool("mousemove", CAMERA[0] + 13, CAMERA[1] + 10)
    time.sleep(0.3)
    xdotool("click", 3)
    wait_for(lambda: any(w["class"] == "#32768" and w["visible"] for w in probe("windows")), what="menu")
    time.sleep(0.5)
    subprocess.run(["import", "-window", "root", "-crop", "360x260+530+190", "+repage",
                    os.path.join(pictures, "menu%s.png" % suffix)], check=True, timeout=30)
    for k in ("Down", "Down", "Down", "Right"):  # the submenu フレーム
        xdotool("key", k)
        time.sleep(0.2)
    time.sleep(0.5)
    subprocess.run(["import", "-window", "root", "-crop", "520x420+530+190", "+repage",
                    os.path.join(pictures, "frame-menu%s.png" % suffix)], check=True, timeout=30)
    xdotool("key", "Escape")
    xdotool("key", "Escape")
    time.sleep(0.5)


def english_pictures(ini, pictures):
    """The same menus with English chosen in 設定 ▸ 表示言語."""
    app = App(ini=ini + "[Options]\r\nLanguage=en\r\n")
    try:
        app.start()
        app.window("Camera")
        time.sleep(0.5)
        menu_pictures(pictures, "-en")
        app.close()
    finally:
        app.cleanup()


def main():
    pictures = sys.argv[sys.argv.index("--pictures") + 1] if "--pictures" in sys.argv else None
    ensure_harness()
    run = os.path.join(ROOT, "build", "run")
    os.makedirs(run, exist_ok=True)
    w, h = Screen().width, Screen().height
    picture = os.path.join(run, "desktop.ppm")
    desktop_picture(picture, w, h)
    subprocess.run(["display", "-window", "root", picture], timeout=30,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    want = decode_image(picture)
    x, y, fw, fh = AREA
    saved = os.path.join(run, "capture.png")
    if os.path.exists(saved):
        os.unlink(saved)
    ini = ("[Data]\r\nX=%d\r\nY=%d\r\nSnapX=%d\r\nSnapY=%d\r\nSnapW=%d\r\nSnapH=%d\r\nLineC=2\r\nLFType=5\r\n"
           "LFName=capture\r\nLFPath=%s\r\n" % (CAMERA[0] * 15, CAMERA[1] * 15, x * 15, y * 15, fw * 15, fh * 15,
                                                windows_path(run)))
    app = App(ini=ini)
    try:
        app.start()
        app.settled("Frame", [x, y, x + fw, y + fh])
        app.window("Camera")
        time.sleep(0.5)
        shot = os.path.join(run, "screenshot.png")
        subprocess.run(["import", "-window", "root", shot], check=True, timeout=30)
        if pictures:
            os.makedirs(pictures, exist_ok=True)
            subprocess.run(["convert", shot, "-crop", "520x380+520+170", "+repage",
                            os.path.join(pictures, "camera-and-frame.png")], check=True, timeout=30)
            menu_pictures(pictures, "")
        camera = (CAMERA[0] + 13, CAMERA[1] + 10)
        dialog = app.capture(camera)
        wait_for(lambda: any(w["foreground"] and w["title"] == "ファイルを保存する" for w in app.windows()),
                 what="dialog focus")
        time.sleep(0.5)
        if pictures:
            r = dialog["rect"]
            subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (r[2] - r[0], r[3] - r[1], r[0], r[1]),
                            "+repage", os.path.join(pictures, "save-dialog.png")], check=True, timeout=30)
        xdotool("key", "Return")  # the name "capture" and PNG, as remembered
        rows = wait_for(lambda: os.path.exists(saved) and os.path.getsize(saved) > 0 and decode_image(saved),
                        what=saved)
        exact = rows == [row[x:x + fw] for row in want[y:y + fh]]
        if pictures:
            watch_label_picture(app, pictures)
            recording_picture(app, pictures)
        app.close()
    finally:
        app.cleanup()
    if pictures:
        english_pictures(ini, pictures)
    print("Kirasoe captured the framed %d x %d pixels through its own double-click and save dialog." % (fw, fh))
    print("Screenshot of the camera and the frame: %s" % shot)
    print("Saved capture (PNG):                    %s" % saved)
    if pictures:
        print("README pictures:                        %s" % pictures)
    if not exact:
        print("The saved PNG is NOT exactly the framed pixels.", file=sys.stderr)
        return 1
    print("The saved PNG is exactly the framed pixels.")
    return 0


if __name__ == "__main__":
    sys.exit(main())

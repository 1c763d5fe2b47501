#!/usr/bin/env python3
"""Renders the installer's windows with the UI framework (lumora-skin render) for docs/previews.

    tools/skin-art/render_previews.py <lumora-skin> <resources folder> <output folder>

"basic.xml" shows the welcome page as shipped; the other pages are rendered from copies of it in
which that page (and the band it comes with) is the visible one, in a temporary copy of the
themes, so the shipped files are never touched. The copy also gets a "public/CheckBox" link to
"public/checkbox": the style sheet names that folder with capitals, which the package lookup
finds without regard to case but a file system on disk does not.
"""

import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

PAGES = ["welcompage", "installpage", "ExitStartpage", "installedpage", "installfaildpage"]
VARIANTS = {100: "default", 125: "default-hdpi", 150: "default-xhdpi"}


def page_variant(markup: str, page: str) -> str:
    for name in PAGES:
        visible = "" if name == page else ' visible="false"'
        markup = re.sub(r'(<VBox name="%s")( visible="false")?' % name, r"\1" + visible, markup)
    if page == "ExitStartpage":
        markup = markup.replace('<Box name="bkimage1" visible="false">', '<Box name="bkimage1">')
        markup = markup.replace('<Box name="bkimage2">', '<Box name="bkimage2" visible="false">')
        markup = markup.replace('name="checkbox_3" class="checkbox_agree"',
                                'name="checkbox_3" class="checkbox_agree" selected="true"')
    if page == "installpage":
        markup = markup.replace('class="progress_blue" value="0"', 'class="progress_blue" value="46"')
        markup = markup.replace('<HBox name="downloadAlert" height="auto" padding="0,0,20,10" visible="false">',
                                '<HBox name="downloadAlert" height="auto" padding="0,0,20,10">')
        markup = markup.replace("：0%", "：46.0%").replace("正在安装", "正在下载")
    if page in ("installpage", "ExitStartpage"):
        markup = markup.replace('name="btn_exit" margin="6,0,0,0"/>', 'name="btn_exit" margin="6,0,0,0" visible="false"/>')
    if page == "installfaildpage":
        markup = markup.replace('text="失败原因："', 'text="失败原因：下载失败，请检查网络连接后重试"')
    return markup


def custom_bar_open(markup: str) -> str:
    markup = markup.replace('<VBox name="customizebar" width="stretch" height="48" visible="false">',
                            '<VBox name="customizebar" width="stretch" height="48">')
    return markup.replace('bkimage="icon_down.png"', 'bkimage="icon_up.png"')


def main() -> int:
    if len(sys.argv) != 4:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    tool, resources, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
    out.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        themes = pathlib.Path(tmp) / "themes"
        shutil.copytree(resources / "themes", themes)
        jobs = []
        for scale, variant in VARIANTS.items():
            theme = themes / variant
            (theme / "public" / "CheckBox").symlink_to("checkbox")
            basic = (theme / "basic" / "basic.xml").read_text(encoding="utf-8")
            sources = {"welcome": basic}
            if scale == 100:
                sources["install"] = page_variant(basic, "installpage")
                sources["exit"] = page_variant(basic, "ExitStartpage")
                sources["installed"] = page_variant(basic, "installedpage")
                sources["failed"] = page_variant(basic, "installfaildpage")
            sources["welcome-custom"] = custom_bar_open(basic)
            for name, markup in sources.items():
                path = theme / "basic" / f"preview_{name}.xml"
                path.write_text(markup, encoding="utf-8", newline="")
                height = 448 if name == "welcome-custom" else 400
                jobs.append((path, f"{height}", f"render-{name}-{scale}.png", theme, scale, 600))
            jobs.append((theme / "msgbox" / "msgbox.xml", "180", f"render-msgbox-{scale}.png", theme, scale, 340))
        for path, height, png, theme, scale, width in jobs:
            # The size is the client size in pixels: the base size at the variant's scale.
            size = f"{round(width * scale / 100)},{round(int(height) * scale / 100)}"
            subprocess.run([str(tool), "render", str(path), "--size", size,
                            "--scale", str(scale), "--global", str(theme / "global.xml"),
                            "--out", str(out / png)], check=True)
            print(out / png)
    return 0


if __name__ == "__main__":
    sys.exit(main())

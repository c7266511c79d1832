#!/usr/bin/env python3
"""What saving the folder Documents and two root files of fat16.raw must give: each file's bytes as icat
reads them, under its path relative to the save folder, and save_expected.tsv listing those paths."""
import argparse
import json
import pathlib
import subprocess

IMAGE = "fat16.raw"
FOLDER = "Documents"
FILES = ["README.TXT", "Twenty six characters.text"]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--images", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    images = pathlib.Path(args.images)
    out = pathlib.Path(args.out)
    manifest = json.loads((images / (IMAGE + ".manifest.json")).read_text(encoding="utf-8"))
    entries = manifest["volumes"][0]["entries"]
    wanted = [e for e in entries if not e["dir"] and not e["meta"] and
              (e["path"].startswith(FOLDER + "/") or e["path"] in FILES)]
    expected = out / "expected"
    paths = []
    for entry in wanted:
        data = subprocess.run(["icat", "-o", "0", str(images / IMAGE), str(entry["inode"])], check=True,
                              capture_output=True, env={"TZ": "UTC", "LANG": "C.UTF-8", "PATH": "/usr/bin:/bin"}).stdout
        target = expected / entry["path"]
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(data)
        paths.append(entry["path"])
    (out / "save_expected.tsv").write_text("".join(p + "\n" for p in sorted(paths)), encoding="utf-8")


if __name__ == "__main__":
    main()

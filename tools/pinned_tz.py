"""The tz data that data/wtcmain.pvx and data/city-rules.txt are made from: data/tzdata.zi,
compiled by zic into a scratch folder that becomes zoneinfo's only source. So every machine
reads the same data, whatever its own tzdata package holds. To move to newer tz data, copy a
newer tzdata.zi (for example /usr/share/zoneinfo/tzdata.zi) over data/tzdata.zi and run
tools/gen-cities.
"""
import atexit
import os
import shutil
import subprocess
import sys
import tempfile
import zoneinfo

SOURCE = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "data", "tzdata.zi")


def use():
    """Compiles data/tzdata.zi into a folder of its own, and makes that zoneinfo's source."""
    zic = shutil.which("zic") or "/usr/sbin/zic"
    folder = tempfile.mkdtemp(prefix="pavix-tz-")
    atexit.register(shutil.rmtree, folder, True)
    # "fat", as Debian builds its own: every transition listed, not only those before the TZ string.
    made = subprocess.run([zic, "-b", "fat", "-d", folder, SOURCE], capture_output=True, text=True)
    if made.returncode != 0:
        sys.exit(f"could not compile {SOURCE} with {zic}: {made.stderr.strip()}")
    zoneinfo.reset_tzpath([folder])
    return folder

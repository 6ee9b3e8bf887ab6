"""The multiplexer bytes of a serial export under Wine reach a pseudo-terminal that the prefix
maps as COM5: 0xFE, then the channel number."""
import os, select, shutil, subprocess, sys, tempfile, time, tty

win_bin, examples = sys.argv[1], sys.argv[2]
master, slave = os.openpty()
tty.setraw(master)
link = os.path.join(os.environ["WINEPREFIX"], "dosdevices", "com5")
if os.path.lexists(link):
    os.remove(link)
os.symlink(os.ttyname(slave), link)

work = tempfile.mkdtemp()
try:
    os.makedirs(os.path.join(work, "exchange"))
    os.makedirs(os.path.join(work, "dibalcom"))
    shutil.copy(os.path.join(examples, "kasa.exp"), os.path.join(work, "exchange"))
    shutil.copy(os.path.join(examples, "serial-export.ini"), work)
    shutil.copy(os.path.join(win_bin, "dibalcom.exe"), os.path.join(work, "dibalcom"))
    cmd = [os.environ.get("WINE", "wine"), os.path.join(win_bin, "skalnix-host.exe"), "export",
           "--config", "serial-export.ini", "--set", "DibalPort=COM5", "--set", "DibalMuxChannel=CH3"]
    proc = subprocess.Popen(cmd, cwd=work, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    received = b""
    deadline = time.time() + 120
    while proc.poll() is None and time.time() < deadline:
        ready, _, _ = select.select([master], [], [], 0.2)
        if ready:
            received += os.read(master, 64)
    output = proc.communicate(timeout=30)[0].decode("utf-8", "replace")
    if proc.returncode != 0:
        sys.exit(f"export failed ({proc.returncode}):\n{output}")
    if received != b"\xfe\x03":
        sys.exit(f"port received {received.hex()}, expected fe03")
    ctrl = open(os.path.join(work, "dibalcom", "dibctrl.txt"), "rb").read()
    if not ctrl.endswith(b"-d 00#\r\n-G \r\n-C \r\n"):
        sys.exit(f"dibctrl.txt does not end with the multiplexer lines:\n{ctrl!r}")
    print("multiplexer bytes fe03 received on COM5")
finally:
    os.remove(link)
    shutil.rmtree(work, ignore_errors=True)

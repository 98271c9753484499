# Sourced by tools/run: the demo IDE installation inside the run prefix.
#   C:\ZQDemo\C5            the IDE's root (Bin\C5ee.ini is its INI file)
#   C:\ZQDemo\work          the working folder ZQMV5.exe runs in
# ZQMV5.ini in the Windows directory points at them. The IDE's INI file is
# set afresh for each run, so that no run starts from what an earlier one left
# (an AutoPick that a stopped REG did not put back); the template and the
# stand-in IDE's settings stay the user's.
#   zq_demo_setup BIN     BIN: the build tree's bin folder (the stand-in IDE)

zq_demo_setup() {
  ZQ_DEMO_HOME="$WINEPREFIX/drive_c/ZQDemo"
  ZQ_DEMO_WORK="$ZQ_DEMO_HOME/work"
  ZQ_DEMO_ROOT="$ZQ_DEMO_HOME/C5"
  mkdir -p "$ZQ_DEMO_WORK" "$ZQ_DEMO_ROOT/Bin"
  local ide="$1/fake_ide.exe"
  if [ -f "$ide" ]; then
    # The stand-in IDE: serves "ClarionWin" over DDE and records what it is
    # sent in Bin\fake_ide.log (settings in Bin\fake_ide.cfg, section
    # [FakeIde]: ServeAfter, LiveFor, ErrorNum, ErrorMsg, ...). Under Wine it
    # holds the output that tools/run reads until it ends, so it lives briefly.
    cp "$ide" "$ZQ_DEMO_ROOT/Bin/C5EE.EXE"
    [ -f "$ZQ_DEMO_ROOT/Bin/fake_ide.cfg" ] || printf '[FakeIde]\r\nServeAfter=0\r\nLiveFor=3000\r\n' >"$ZQ_DEMO_ROOT/Bin/fake_ide.cfg"
    rm -f "$ZQ_DEMO_ROOT/Bin/fake_ide.log"
  fi
  printf '[Environment]\r\nAutoPick=on\r\n[Paths]\r\nLibsrc=C:\\ZQDemo\\C5\\LIBSRC\r\n' >"$ZQ_DEMO_ROOT/Bin/C5ee.ini"
  [ -f "$ZQ_DEMO_WORK/demo.tpl" ] || printf '#TEMPLATE(Demo,\x27Demo templates\x27)\r\n' >"$ZQ_DEMO_WORK/demo.tpl"
  printf '[Clarion]\r\nroot=C:\\ZQDemo\\C5\r\nExeName=C:\\ZQDemo\\C5\\Bin\\C5EE.EXE\r\nIniFile=C:\\ZQDemo\\C5\\Bin\\C5ee.ini\r\n' \
    >"$(zq_windows_dir)/ZQMV5.ini"
}

# Shows the files the commands change, so that a run's effect can be seen.
zq_demo_report() {
  local f
  for f in "$ZQ_DEMO_ROOT/Bin/C5ee.ini" "$ZQ_DEMO_WORK/ZQDE.LOG" "$ZQ_DEMO_ROOT/Bin/fake_ide.log"; do
    [ -f "$f" ] || continue
    echo "--- ${f#$WINEPREFIX/drive_c/}"
    tr -d '\r' <"$f"
  done
}

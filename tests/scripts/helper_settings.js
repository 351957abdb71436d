// The object's settings and error numbers as JScript sees them.
StopHost();
var h = new ActiveXObject("Ombrisk.Helper");
Eq(h.Pause, 70, "Pause starts at 70");
Eq(h.Wait, false, "Wait starts false");
Eq(h.NoArrayReturn, false, "NoArrayReturn starts false");

function errorNumber(f) {
    try { f(); } catch (e) { return e.number & 0xFFFF; }
    return 0;
}

h.Pause = -1;
Eq(h.Pause, 0, "negative Pause becomes 0");
h.Pause = 2.5;
Eq(h.Pause, 2.5, "Pause keeps 2.5");
Eq(errorNumber(function () { h.Pause = "abc"; }), 13, "Pause with text raises 13");
Eq(h.Pause, 2.5, "refused Pause leaves the value");

var caught = null;
try { h.Pause = "abc"; } catch (e) { caught = e; }
Ok(caught !== null && caught.description == "Type mismatch", "the error carries its description");
Ok(caught !== null && (caught.number >>> 16) == 0x800A, "the error number is a script error HRESULT");

h.Wait = true;
Eq(h.Wait, true, "Wait let true");
h.NoArrayReturn = 1;
Eq(h.NoArrayReturn, true, "NoArrayReturn let 1 reads true");

var t0 = NowMs();
h.Sleep(-1);
h.Sleep(0);
Ok(ElapsedMs(t0) < LimitMs(500), "Sleep -1 and 0 return at once");
t0 = NowMs();
h.Sleep(250);
Ok(ElapsedMs(t0) >= 230, "Sleep 250 waits");

Eq(h.IsRunningTC, false, "no host: IsRunningTC false");
Eq(h.SendCommand(2050), false, "no host: SendCommand false");
Eq(h.LockTC(true), false, "no host: LockTC false");

Finish();

-- The start-up script of the test application: builds and shows the main window, runs a
-- dialog, starts two timers, and reports what it sees through MessageBox.
MessageBox(loadedRan, "loaded first")
MessageBox(HostValue == nil, "before engine registration")
local ok, mod = pcall(require, "Oskel")
MessageBox(ok and type(mod) == "table", "require")
MessageBox(string.find(package.cpath, GetCurrentPath() .. "\\?.dll", 1, true) == 1, "cpath")
MessageBox(GetCurrentPath(), "path")
MessageBox(nil, {})

local copy = UrlDownloadToFile("file:///" .. GetCurrentPath() .. "\\skin\\config.ini")
local f = io.open(copy, "rb")
local body = f and f:read("*a") or ""
if f then f:close() end
MessageBox(string.find(copy, "\\smz") ~= nil and string.find(body, "[skin]", 1, true) ~= nil, "download")
os.remove(copy)

main = CreateTemplate("main")
MessageBox(CreateTemplate("nosuch") == nil, "unknown template")
MessageBox(CreateWindow(nil), "no window")
MessageBox(CreateWindow(main:GetChild("label0")), "not a window")
local h = CreateWindow(main, nil)
MessageBox(h ~= 0, "created")
MessageBox(main:IsVisible(), "visible")
MessageBox(main:GetText(), "caption")

main:GetChild("label0"):SetText("\195\169")
main:GetChild("label1"):SetText("\195\169", 1)
main:GetChild("label2"):SetText("x", 2)
MessageBox(main:GetChild("label1"):GetText() == "\233", "utf-8 text")
MessageBox(main:GetChild("nosuch") == nil, "no child")
MessageBox(main:GetChild("label1") == main:GetChild("label1"), "one value per object")
IXUIObject.ShowWindow(nil, true)
IXUIObject.SetText(42, "x")
MessageBox(IXUIObject.GetText("not an object") == nil, "wrong object")
main:Invalidate()

MessageBox(CreateDialog(nil) == nil, "no dialog")
local dlg = CreateTemplate("dlg")
MessageBox(CreateDialog(dlg, main), "dialog")
MessageBox(dlg:IsVisible() == nil, "dialog gone")

ticks = 0
function OnTimer1() MessageBox("first", "tick") end
function OnTimer2()
  ticks = ticks + 1
  if ticks == 3 then
    t1:EndTimer()
    t2:EndTimer()
    MessageBox(HostValue and HostValue() or "none", "after engine registration")
    MessageBox(ticks, "timers done")
  end
end
t1 = CXTimer:new()
t1:SetInterval(20)
t1:SetCallback("OnTimer1")
t1:StartTimer()
t2 = CXTimer:new()
t2:SetInterval(30.9)
local name = "OnTimer" .. "2"
t2:SetCallback(name)
name = nil
collectgarbage()
t2:StartTimer()

function OnMainClick(obj, wp, lp)
  MessageBox(obj == main, "click owner")
  MessageBox(wp, "click")
end

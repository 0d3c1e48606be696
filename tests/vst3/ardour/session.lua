-- Soravel.vst3 in a headless Ardour session on the Dummy back end (ardour7-lua):
--   session.lua create DIR OUT CLASS-ID   a stereo track with test clicks into Soravel
--       and a tap after it, Soravel's parameters and programs listed, "Large Hall"
--       selected, Size set to 70 %, a render into the file OUT, the session saved
--   session.lua reload DIR OUT CLASS-ID   the saved session loaded, rendered again
-- A render: the transport rolls from 0 until 3 s have passed, and the tap's capture
-- of Soravel's output goes to OUT as little-endian 32-bit floats, interleaved.
-- (Ardour's export is not used: in Ardour 7.3's luasession, Session:simple_export()
-- crashes about every second run, with or without any plug-in in the session, with
-- a double free in the exporter's teardown.)
-- Prints lines for ardour_test.sh: "param I NAME", "program K NAME", "value I PLAIN",
-- and "done" at the end (an error stops the script before it).
local mode, dir, out, uid = arg[1], arg[2], arg[3], arg[4]
local name = "soravel"
local rate = 48000
local frames = 3 * rate

function values(proc, plug)
  for i = 0, plug:parameter_count() - 1 do
    print(string.format("value %d %.17g", i, ARDOUR.LuaAPI.get_processor_param(proc, i, true)))
  end
end

-- The plain value Ardour holds for parameter i, once it is `want` (the host learns a
-- program's values from the plug-in's next process calls); false after about 20 s.
function await(proc, i, want)
  for n = 1, 1000 do
    if math.abs(ARDOUR.LuaAPI.get_processor_param(proc, i, true) - want) < 1e-3 then return true end
    ARDOUR.LuaAPI.usleep(20000)
  end
  return false
end

AudioEngine:set_backend("None (Dummy)", "", "")
assert(AudioEngine:current_backend_name() == "Dummy", "no Dummy back end")
local proc
if mode == "create" then
  assert(create_session(dir, name, rate), "no session")
  local t = Session:new_audio_track(2, 2, nil, 1, "Verb", ARDOUR.PresentationInfo.max_order,
                                    ARDOUR.TrackMode.Normal, true):front()
  local clicks = ARDOUR.LuaAPI.new_plugin(Session, "Soravel Test Clicks", ARDOUR.PluginType.Lua, "")
  assert(not clicks:isnil(), "no test clicks")
  t:add_processor_by_index(clicks, 0, nil, true)
  proc = ARDOUR.LuaAPI.new_plugin(Session, "Soravel", ARDOUR.PluginType.VST3, "")
  assert(not proc:isnil(), "Soravel.vst3 not found")
  t:add_processor_by_index(proc, 1, nil, true)
  local tap = ARDOUR.LuaAPI.new_plugin(Session, "Soravel Test Tap", ARDOUR.PluginType.Lua, "")
  assert(not tap:isnil(), "no test tap")
  t:add_processor_by_index(tap, 2, nil, true)
else
  assert(load_session(dir, name), "no session to load")
  local t = Session:route_by_name("Verb")
  assert(not t:isnil(), "no track")
  proc = t:nth_plugin(1)
  assert(not proc:isnil(), "no plug-in after loading")
end
local tap = Session:route_by_name("Verb"):nth_plugin(2):to_insert():plugin(0):to_luaproc()
assert(not tap:isnil(), "no tap")
local plug = proc:to_insert():plugin(0)
assert(plug:name() == "Soravel", "the second plug-in is " .. plug:name())

if mode == "create" then
  for i = 0, plug:parameter_count() - 1 do print(string.format("param %d %s", i, plug:parameter_label(i))) end
  for k = 0, 16 do
    local ps = plug:preset_by_uri(string.format("VST3-P:%s:%04d", uid, k))
    if ps and ps.valid then print(string.format("program %d %s", k, ps.label)) end
  end
  local hall = plug:preset_by_label("Large Hall")
  assert(hall and hall.valid, "no Large Hall")
  assert(plug:load_preset(hall), "Large Hall not loaded")
  assert(await(proc, 9, 55), "Large Hall's Size never reached the host")
  ARDOUR.LuaAPI.set_processor_param(proc, 9, 70)
  assert(await(proc, 9, 70), "Size not set")
  ARDOUR.LuaAPI.usleep(200000)  -- a few process calls take it to the plug-in
end
values(proc, plug)

-- The render starts from silence: the plug-in switched off and on (setActive).
proc:deactivate()
proc:activate()
Session:request_locate(0, false, ARDOUR.LocateTransportDisposition.MustStop, ARDOUR.TransportRequestSource.TRS_UI)
ARDOUR.LuaAPI.usleep(200000)
Session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
for n = 1, 1000 do
  if Session:transport_sample() > frames + 4096 then break end
  ARDOUR.LuaAPI.usleep(20000)
end
Session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
assert(Session:transport_sample() > frames, "the transport never rolled 3 s")
local samples = tap:shmem():to_float(0):get_table(2 * frames)
local f = assert(io.open(out, "wb"))
for i = 1, 2 * frames do f:write(string.pack("<f", samples[i])) end
f:close()

if mode == "create" then Session:save_state("", false, false, false, false, false) end
close_session()
print("done")

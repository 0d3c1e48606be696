ardour {
	["type"]    = "dsp",
	name        = "Soravel Test Clicks",
	category    = "Utility",
	license     = "MIT",
	author      = "Soravel tests",
	description = [[Clicks at fixed session positions (every 0.25 s of the first 2 s) while the transport rolls, so that every render of a session gets the same input.]]
}

function dsp_ioconfig ()
	return { { audio_in = 2, audio_out = 2 } }
end

function dsp_run (ins, outs, n_samples)
	local pos = Session:transport_sample ()
	local rolling = Session:transport_rolling ()
	local l, r = {}, {}
	for s = 1, n_samples do
		local t = pos + s - 1
		local hit = rolling and t < 96000 and t % 12000 == 6000
		l[s] = hit and 0.5 or 0
		r[s] = hit and -0.4 or 0
	end
	outs[1]:set_table (l, n_samples)
	outs[2]:set_table (r, n_samples)
end

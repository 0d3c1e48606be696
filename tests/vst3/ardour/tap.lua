ardour {
	["type"]    = "dsp",
	name        = "Soravel Test Tap",
	category    = "Utility",
	license     = "MIT",
	author      = "Soravel tests",
	description = [[Passes stereo through and, while the transport rolls, keeps what passes at each session position of the first 3 s (48 kHz) in shared memory, which the session script reads.]]
}

local frames = 3 * 48000

function dsp_ioconfig ()
	return { { audio_in = 2, audio_out = 2 } }
end

function dsp_init (rate)
	self:shmem ():allocate (2 * frames)
	self:shmem ():clear ()
end

function dsp_run (ins, outs, n_samples)
	for c = 1, 2 do
		if ins[c] ~= outs[c] then ARDOUR.DSP.copy_vector (outs[c], ins[c], n_samples) end
	end
	if not Session:transport_rolling () then return end
	local pos = Session:transport_sample ()
	local l, r = outs[1]:get_table (n_samples), outs[2]:get_table (n_samples)
	local mem = self:shmem ():to_float (0):array ()
	for s = 1, n_samples do
		local t = pos + s - 1
		if t >= 0 and t < frames then
			mem[2 * t + 1] = l[s]
			mem[2 * t + 2] = r[s]
		end
	end
end

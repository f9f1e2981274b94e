"""The demo's compressed media, made by the ffmpeg command line from what we paint and
synthesise: the MP3 soundtrack and the short AVI movie (Microsoft Video 1 pictures, PCM sound)."""
import math
import os
import subprocess
import tempfile

from gen import pictures as P
from gen.canvas import PALETTE, Canvas
from gen.sounds import RATE, mix, noise, tone, write_wav, evening_tune

FFMPEG = os.environ.get("FFMPEG", "ffmpeg")


def _run(args, stdin=None):
    subprocess.run([FFMPEG, "-hide_banner", "-loglevel", "error", "-y"] + args, input=stdin,
                   check=True)


def make_mp3(path):
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "tune.wav")
        write_wav(wav, evening_tune())
        _run(["-i", wav, "-map_metadata", "-1", "-c:a", "libmp3lame", "-b:a", "48k", path])


def movie_frame(k, frames):
    """The ship passing the lit lighthouse at night, the beam sweeping over the sea."""
    c = Canvas(320, 240)
    P.night_sky(c, 130)
    P.sea(c, 130, 240, night=True)
    P.lighthouse(c, 260, 60, 150, 18, 28, lit=True)
    a = 2 * math.pi * k / frames * 1.5
    reach = 250 * math.cos(a)
    spread = 14 * abs(math.cos(a)) + 2
    c.polygon([(260, 48), (260 + reach, 48 - spread), (260 + reach, 48 + spread)], P.LAMP_LIGHT)
    ship = P.ship_far_picture()
    c.blit(ship, int(-120 + 300 * k / frames), 150)
    c.centred_text(160, 206, "LIGHTHOUSE", P.YELLOW, 2)
    return c


def make_avi(path, seconds=3, fps=10):
    frames = seconds * fps
    rgb = [bytes(colour) for colour in PALETTE]
    video = b"".join(b"".join(rgb[i] for i in movie_frame(k, frames).px) for k in range(frames))
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "sound.wav")
        horn = tone(98, 1.2, 0.5, (1.0, 0.7, 0.5, 0.3))
        sound = mix(noise(seconds, 0.3, smooth=0.95), [0.0] * int(0.8 * RATE) + horn)
        write_wav(wav, sound)
        _run(["-f", "rawvideo", "-pix_fmt", "rgb24", "-s", "320x240", "-r", str(fps), "-i", "-",
              "-i", wav, "-map_metadata", "-1", "-c:v", "msvideo1", "-c:a", "pcm_u8", "-ar", "11025",
              "-shortest", path], stdin=video)

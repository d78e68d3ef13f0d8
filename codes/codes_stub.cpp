// replaced by the encoders
